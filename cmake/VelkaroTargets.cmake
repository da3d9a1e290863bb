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

# skin/, DefaultData/, Font/ and icons/ are laid into the folder of the executables that
# run from it: the program finds them through its instance folder, as it does when
# installed. One target lays one folder and the executables there depend on it; each
# laying the same files itself, several at once, made builds fail now and then.
function(velkaro_resources_target name folder)
  add_custom_target(${name}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/skin ${folder}/skin
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/DefaultData ${folder}/DefaultData
    COMMAND ${CMAKE_COMMAND} -DOUT=${folder}/Font -P ${CMAKE_SOURCE_DIR}/cmake/LayFonts.cmake
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/${VELKARO_ICON}
      ${folder}/icons/hicolor/${VELKARO_ICON_SIZE}/apps/velkaro.png
    VERBATIM)
endfunction()
