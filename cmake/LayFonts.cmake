# Lays the program's four private fonts into ${OUT} (the Font/ folder beside the executable).
# The fonts come from Debian packages that the scripts install, so they are never committed:
#   fonts-dejavu-core    DejaVuSans.ttf, DejaVuSans-Bold.ttf  (Latin, the default face)
#   fonts-wqy-microhei   wqy-microhei.ttc                      (Simplified and Traditional Chinese)
#   fonts-noto-core      NotoSansThai-Regular.ttf              (Thai)
# A missing font is reported and skipped: the program then falls back to the faces it finds.
if(NOT DEFINED OUT)
  message(FATAL_ERROR "LayFonts.cmake needs -DOUT=<folder>")
endif()

set(_velkaro_fonts
  "dejavu/DejaVuSans.ttf"
  "dejavu/DejaVuSans-Bold.ttf"
  "wqy/wqy-microhei.ttc"
  "noto/NotoSansThai-Regular.ttf")
set(_velkaro_font_roots /usr/share/fonts/truetype /usr/share/fonts/opentype /usr/local/share/fonts)

file(MAKE_DIRECTORY "${OUT}")
foreach(font IN LISTS _velkaro_fonts)
  get_filename_component(name "${font}" NAME)
  set(found "")
  foreach(root IN LISTS _velkaro_font_roots)
    if(NOT found AND EXISTS "${root}/${font}")
      set(found "${root}/${font}")
    endif()
  endforeach()
  if(found)
    file(COPY_FILE "${found}" "${OUT}/${name}" ONLY_IF_DIFFERENT)
  else()
    message(WARNING "font ${name} not found; install the Debian package that holds it")
  endif()
endforeach()
