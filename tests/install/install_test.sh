#!/bin/sh
# Installs the build into a temporary prefix, checks the layout and the menu entry, and
# starts the installed program from an unrelated working folder, painting off-screen, until
# its window has been drawn; then stops it as a logout does.
# Usage: install_test.sh <build folder>
set -eu
build="$1"
root="$(mktemp -d)"
pid=""
cleanup() {
    [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT
fail() {
    echo "install test: $*" >&2
    exit 1
}

prefix="$root/usr"
cmake --install "$build" --prefix "$prefix" >"$root/install.txt"
# Under a prefix udev does not read, the install says where the rule must go.
grep -q "/etc/udev/rules.d/" "$root/install.txt" ||
    fail "the install does not say where the udev rule must go"

for file in bin/velkaro lib/velkaro/velkaro lib/velkaro/skin/res.xml \
    lib/velkaro/DefaultData/Language.config lib/velkaro/Font/DejaVuSans.ttf \
    lib/velkaro/icons/hicolor/96x96/apps/velkaro.png \
    share/icons/hicolor/96x96/apps/velkaro.png share/applications/velkaro.desktop \
    lib/udev/rules.d/70-velkaro.rules; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
desktop-file-validate "$prefix/share/applications/velkaro.desktop" ||
    fail "the menu entry is not valid"

# Away from the build and the install: the program must find its files by itself.
mkdir -p "$root/elsewhere" "$root/runtime"
chmod 700 "$root/runtime"
cd "$root/elsewhere"
shot="$root/window.png"
env -u DISPLAY -u WAYLAND_DISPLAY \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$root/no-bus" \
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$root/no-bus" \
    XDG_RUNTIME_DIR="$root/runtime" XDG_DATA_HOME="$root/data" XDG_CONFIG_HOME="$root/config" \
    VELKARO_HID=sim VELKARO_SIM=keyboard VELKARO_SCREENSHOT="$shot" \
    "$prefix/bin/velkaro" 2>"$root/stderr.txt" &
pid=$!

# A generous bound: a sanitizer build on a loaded machine starts slowly.
tries=0
while [ ! -s "$shot" ]; do
    kill -0 "$pid" 2>/dev/null || { cat "$root/stderr.txt" >&2; fail "the program ended early"; }
    tries=$((tries + 1))
    [ "$tries" -lt 1200 ] || fail "no window was drawn within 120 s"
    sleep 0.1
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { cat "$root/stderr.txt" >&2; fail "the program exited with $status"; }
echo "installed program started and stopped cleanly"
