#!/bin/busybox sh
# /init of the kernel test's guest: mounts what the test needs, loads the USB gadget and
# HID modules, starts the device manager with the rules of a desktop, runs the test
# program and writes its exit status to the console for the host, then powers off.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs -o mode=1777 tmpfs /tmp
mount -t tmpfs tmpfs /run
echo "kernel-test: guest at /init after $(cut -d' ' -f1 /proc/uptime) s"

# Two dummy ports: the emulated keyboard is plugged into one or the other.
while read -r module; do
    case "$module" in
        */dummy_hcd.ko) insmod "$module" num=2 ;;
        *) insmod "$module" ;;
    esac || echo "kernel-test: insmod $module failed"
done </lib/modules/velkaro-order
mount -t configfs configfs /sys/kernel/config

# The device manager's rules: as the udev rule does, the keyboard's hidraw nodes go to the
# logged-in user (uid 1000), except on the second port, which no rule covers. The gadget
# side's nodes are the test's too.
cat >/etc/mdev.conf <<'RULES'
DEVPATH=.*/dummy_hcd[.]1/.*;hidraw[0-9]+ 0:0 600
hidraw[0-9]+ 1000:1000 660
hidg[0-9]+ 1000:1000 660
RULES
mdev -d

cd /velkaro || exit 1
export HOME=/tmp VELKARO_HID=hidraw LC_ALL=C
export DBUS_SESSION_BUS_ADDRESS=unix:path=/run/no-bus DBUS_SYSTEM_BUS_ADDRESS=unix:path=/run/no-bus
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1"
args=$(sed -n 's/.*velkaro.args=\([^ ]*\).*/\1/p' /proc/cmdline | tr ',' ' ')
echo "kernel-test: tests start after $(cut -d' ' -f1 /proc/uptime) s"
# shellcheck disable=SC2086
timeout -s KILL "${VELKARO_GUEST_TIMEOUT:-100}" ./kernel_guest --gtest_color=no $args
status=$?
echo "kernel-test: tests ended after $(cut -d' ' -f1 /proc/uptime) s"
echo "VELKARO-KERNEL-STATUS $status"
sync
poweroff -f
