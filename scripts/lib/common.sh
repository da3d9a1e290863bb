# Shared by scripts/run and scripts/test: the Debian packages the build needs, installed
# when missing.

VELKARO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

VELKARO_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libjsoncpp-dev libpugixml-dev libudev-dev libsystemd-dev dbus-daemon
  libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev libx11-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool desktop-file-utils
  fonts-dejavu-core fonts-wqy-microhei fonts-noto-core
  qemu-system-x86 linux-image-amd64 busybox-static xz-utils
)

velkaro_missing_packages() {
  local missing=() pkg
  for pkg in "${VELKARO_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed'; then
      missing+=("$pkg")
    fi
  done
  echo "${missing[@]}"
}

velkaro_install_packages() {
  local missing
  missing="$(velkaro_missing_packages)"
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get install -y $missing" >&2
    exit 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
}

velkaro_jobs() {
  nproc 2>/dev/null || echo 2
}
