# `cmake --install` lays the program out as it runs from the build: one folder holds the
# executable with skin/, DefaultData/, Font/ and icons/ beside it (the program finds them
# through its own location, whatever the working folder), and bin/velkaro links to it.
# The menu entry, its icon and the udev rule go where the desktop and udev look for them.
set(VELKARO_PROGRAM_DIR lib/velkaro)

install(TARGETS velkaro RUNTIME DESTINATION ${VELKARO_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skin ${CMAKE_SOURCE_DIR}/DefaultData
        DESTINATION ${VELKARO_PROGRAM_DIR})
# Fonts and the icon tree are laid beside the built executable (velkaro_resources).
install(DIRECTORY ${CMAKE_BINARY_DIR}/Font ${CMAKE_BINARY_DIR}/icons
        DESTINATION ${VELKARO_PROGRAM_DIR})

file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install)
file(CREATE_LINK ../${VELKARO_PROGRAM_DIR}/velkaro ${CMAKE_BINARY_DIR}/install/velkaro SYMBOLIC)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/velkaro DESTINATION bin)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/desktop/velkaro.desktop
        DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/${VELKARO_ICON}
        DESTINATION share/icons/hicolor/${VELKARO_ICON_SIZE}/apps RENAME velkaro.png)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/udev/70-velkaro.rules DESTINATION lib/udev/rules.d)
# udev reads rules from /etc/udev/rules.d and <prefix>/lib/udev/rules.d for the system's own
# prefix only: under any other prefix the rule lies where udev never looks, and without it
# the user may not open the devices. The install says so and what to do.
install(CODE [[
  if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    message(STATUS "The udev rule went to $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d/70-velkaro.rules, where udev does not read it. For the devices to be usable without root, install it as root:\n"
      "  cp $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d/70-velkaro.rules /etc/udev/rules.d/\n"
      "  udevadm control --reload && udevadm trigger")
  endif()
]])
