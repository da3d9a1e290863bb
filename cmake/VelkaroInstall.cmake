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
