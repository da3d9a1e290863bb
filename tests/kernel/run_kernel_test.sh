#!/bin/sh
# The hardware path against a real Linux kernel: boots the installed Debian kernel under
# QEMU with an initramfs made here, in which a USB keyboard is emulated from user space
# (dummy_hcd, a configfs HID gadget) and the program's hidraw backend and device layer run
# against the kernel's own /dev/hidrawN nodes (tests/kernel/guest). The results come back
# on the serial console.
#
# Usage: run_kernel_test.sh <guest program> <source folder> <work folder> [build kind]
# Exits 77 (skipped) when the machine lacks QEMU, a kernel image or busybox.
set -eu
guest="$1"
source="$2"
work="$3"
sanitizer="${4:-}"

skip() {
    echo "kernel test skipped: $*"
    exit 77
}

qemu=$(command -v qemu-system-x86_64 || true)
[ -n "$qemu" ] || skip "qemu-system-x86_64 is not installed (Debian package qemu-system-x86)"
busybox=""
for candidate in /bin/busybox /usr/bin/busybox; do
    if [ -x "$candidate" ] && ! ldd "$candidate" >/dev/null 2>&1; then
        busybox="$candidate"
        break
    fi
done
[ -n "$busybox" ] || skip "no static busybox (Debian package busybox-static)"
command -v modprobe >/dev/null 2>&1 || skip "modprobe is not installed (Debian package kmod)"

# The newest kernel image whose modules are installed (not necessarily the running kernel).
kernel=""
version=""
for image in $(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -V -r); do
    candidate_version="${image#/boot/vmlinuz-}"
    if [ -d "/lib/modules/$candidate_version/kernel" ]; then
        kernel="$image"
        version="$candidate_version"
        break
    fi
done
[ -n "$kernel" ] || skip "no kernel image with its modules in /boot (Debian package linux-image-amd64)"

mkdir -p "$work"
log="$work/console.log"
started=$(date +%s%N)

# The kernel is booted uncompressed (PVH entry): under emulation, decompressing it costs
# seconds at every boot. Extracted once per image (xz, with the x86 filter busybox lacks);
# without xz the compressed image boots, only slower.
vmlinux="$work/vmlinux-$version"
if [ ! -s "$vmlinux" ] || [ "$kernel" -nt "$vmlinux" ]; then
    offset=$(LC_ALL=C grep -obUaP '\xfd7zXZ\x00' "$kernel" | head -n 1 | cut -d: -f1 || true)
    if [ -n "$offset" ] && command -v xz >/dev/null 2>&1; then
        tail -c +"$((offset + 1))" "$kernel" | xz -dc >"$vmlinux.tmp" 2>/dev/null || true
    fi
    if [ -s "$vmlinux.tmp" ]; then
        mv "$vmlinux.tmp" "$vmlinux"
    else
        rm -f "$vmlinux.tmp"
        vmlinux="$kernel"
    fi
fi

# The initramfs: busybox, the modules with their dependencies in load order, the test
# program with its shared libraries, and the skin and default data it reads.
root="$work/root"
rm -rf "$root"
mkdir -p "$root/bin" "$root/lib/modules" "$root/proc" "$root/sys" "$root/dev" "$root/tmp" \
    "$root/run" "$root/etc" "$root/velkaro"
cp "$busybox" "$root/bin/busybox"
cp "$source/tests/kernel/guest_init.sh" "$root/init"
chmod 755 "$root/init"
printf 'root:x:0:0::/tmp:/bin/sh\nvelkaro:x:1000:1000::/tmp:/bin/sh\n' >"$root/etc/passwd"
printf 'root:x:0:\nvelkaro:x:1000:\n' >"$root/etc/group"
for module in configfs libcomposite usb_f_hid dummy_hcd usbhid hid_generic; do
    modprobe -S "$version" --show-depends "$module" 2>/dev/null | awk '$1 == "insmod" { print $2 }'
done | awk '!seen[$0]++' >"$work/modules"
[ -s "$work/modules" ] || skip "the USB gadget and HID modules of $version were not found"
: >"$root/lib/modules/velkaro-order"
while read -r module; do
    case "$module" in
        *.ko) ;;
        *) skip "compressed modules ($module) are not handled" ;;
    esac
    cp "$module" "$root/lib/modules/"
    echo "/lib/modules/$(basename "$module")" >>"$root/lib/modules/velkaro-order"
done <"$work/modules"

objcopy --strip-debug "$guest" "$root/velkaro/kernel_guest"
ldd "$guest" | awk '/=>/ { print $3 } /^[ \t]*\// { print $1 }' | while read -r library; do
    [ -f "$library" ] || continue
    mkdir -p "$root$(dirname "$library")"
    cp -L "$library" "$root$library"
done
cp -r "$source/skin" "$source/DefaultData" "$root/velkaro/"
(cd "$root" && find . | "$busybox" cpio -o -H newc 2>/dev/null) >"$work/initramfs.cpio"
rm -rf "$root"
prepared=$(date +%s%N)

accel="${VELKARO_KERNEL_ACCEL:-tcg}"
status=0
timeout -k 5 "${VELKARO_KERNEL_TIMEOUT:-110}" "$qemu" -accel "$accel" -m 1536 -smp 2 \
    -nodefaults -no-user-config -display none -serial stdio -no-reboot \
    -kernel "$vmlinux" -initrd "$work/initramfs.cpio" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init velkaro.args=${VELKARO_KERNEL_ARGS:-}" \
    </dev/null >"$log" 2>&1 || status=$?
ended=$(date +%s%N)

grep '^kernel-test:\|^\[  \|^\[==\|^\[--\|Failure\|Expected\|Which is\|Value of\|Actual\|ERROR\|Sanitizer' "$log" || true
echo "kernel test: kernel $version, accel $accel, ${sanitizer:-plain} build; initramfs made in $(((prepared - started) / 1000000)) ms, boot and tests took $(((ended - prepared) / 1000000)) ms"
result=$(sed -n 's/^VELKARO-KERNEL-STATUS \([0-9]*\).*/\1/p' "$log" | tail -n 1)
if [ -z "$result" ]; then
    echo "kernel test: the guest gave no result (qemu status $status); its console:"
    tail -n 60 "$log"
    exit 1
fi
[ "$result" -eq 0 ] || {
    echo "kernel test: the guest's tests failed (status $result); console in $log"
    exit 1
}
echo "kernel test: passed"
