// What the leak checker of the sanitizer build is not to report.
//
// libdbus, which SDL loads to reach the session bus, leaves a read buffer behind when no
// session bus can be found for it (no DBUS_SESSION_BUS_ADDRESS, none in the runtime folder,
// no dbus-launch to start one). The program itself never calls libdbus.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
