# One static library per folder of src/, its sources found by glob so that a new
# file needs no edit here. A folder with no sources yet becomes an interface library.
function(velkaro_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC_DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp)
  # The SDL renderer is built only where its libraries are present.
  list(FILTER sources EXCLUDE REGEX "/render/sdl/")
  if(sources)
    add_library(velkaro_${name} STATIC ${sources})
    target_include_directories(velkaro_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(velkaro_${name} PUBLIC ${ARG_PUBLIC_DEPS})
  else()
    add_library(velkaro_${name} INTERFACE)
    target_include_directories(velkaro_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(velkaro_${name} INTERFACE ${ARG_PUBLIC_DEPS})
  endif()
endfunction()

# The program's icon, kept as an icon theme keeps it: the tray names it from there and
# the installed menu entry from the desktop's hicolor theme.
set(VELKARO_ICON skin/common/logo_big.png)
set(VELKARO_ICON_SIZE 96x96)

# skin/, DefaultData/, Font/ and icons/ are laid next to the executable: the program finds
# them through its instance folder, as it does when installed.
function(velkaro_lay_resources target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/${VELKARO_ICON}
      $<TARGET_FILE_DIR:${target}>/icons/hicolor/${VELKARO_ICON_SIZE}/apps/velkaro.png)
  foreach(dir skin DefaultData)
    if(EXISTS ${CMAKE_SOURCE_DIR}/${dir})
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/${dir} $<TARGET_FILE_DIR:${target}>/${dir})
    endif()
  endforeach()
  if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/LayFonts.cmake)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DOUT=$<TARGET_FILE_DIR:${target}>/Font -P ${CMAKE_SOURCE_DIR}/cmake/LayFonts.cmake)
  endif()
endfunction()
