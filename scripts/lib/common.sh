# Shared by the scripts: package installation and the build folders.
# shellcheck shell=bash

QUIRNEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Debian packages a build without the window needs (-DQUIRNEL_BUILD_GUI=OFF: quirnel-cli and
# quirnel-voicegen).
QUIRNEL_TOOL_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev
    libsndfile1-dev libsoxr-dev libpulse-dev libasound2-dev
    libaubio-dev libfftw3-dev libeigen3-dev
)

# Debian packages the build, the tests and the program need.
QUIRNEL_PACKAGES=(
    "${QUIRNEL_TOOL_PACKAGES[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-svg-dev libasound2-plugins
    pulseaudio pulseaudio-utils procps
    fonts-sil-doulos
    clang-14 libfuzzer-14-dev libclang-rt-14-dev
    xvfb xauth x11-utils qt6-wayland
    desktop-file-utils appstream shared-mime-info groff-base
    dpkg-dev file
)

# Debian packages scripts/package needs to build the package: the build's own, Qt's SVG
# module and the tools of dpkg-shlibdeps and CPack.
QUIRNEL_PACKAGE_BUILD_PACKAGES=(
    "${QUIRNEL_TOOL_PACKAGES[@]}"
    qt6-svg-dev dpkg-dev file
)

# How long apt waits for another package manager to let go of its lock, in seconds.
QUIRNEL_APT_LOCK_WAIT=${QUIRNEL_APT_LOCK_WAIT:-600}

# Installs whatever of the given packages is missing (apt-get update only when needed),
# waiting at most QUIRNEL_APT_LOCK_WAIT seconds for a package manager that is running.
quirnel_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    local wait=(-o "DPkg::Lock::Timeout=$QUIRNEL_APT_LOCK_WAIT")
    $sudo apt-get "${wait[@]}" update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait[@]}" install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
}

# Parallel build jobs: $QUIRNEL_JOBS, else one per processor.
quirnel_jobs() { [ -n "${QUIRNEL_JOBS:-}" ] && echo "$QUIRNEL_JOBS" || nproc 2>/dev/null || echo 2; }
