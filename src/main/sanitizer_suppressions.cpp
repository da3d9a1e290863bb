// What the sanitizer builds are not to report: faults of the libraries beneath the program.

// libdbus, which SDL loads to reach the session bus, leaves a read buffer behind when no
// session bus can be found for it (no DBUS_SESSION_BUS_ADDRESS, none in the runtime folder,
// no dbus-launch to start one). The program itself never calls libdbus.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

// When the display goes away inside a call that the program survives, Xlib's I/O error path
// releases the display's lock and then the interrupted call releases it again on its way out.
// The race detector sees the second release of a lock nobody holds; nothing else touches the
// dead connection afterwards.
extern "C" const char* __tsan_default_suppressions() {
    return "mutex:libX11.so.6\n";
}
