# Shared by the scripts: package installation and the build folders.
# shellcheck shell=bash

QUIRNEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Debian packages a build without the window needs (-DQUIRNEL_BUILD_GUI=OFF: quirnel-cli and
# quirnel-voicegen).
QUIRNEL_TOOL_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev
    libsndfile1-dev libsamplerate0-dev libpulse-dev libasound2-dev
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
    xvfb xauth qt6-wayland
    desktop-file-utils appstream shared-mime-info groff-base
    dpkg-dev file
)

# Installs whatever of the given packages is missing (apt-get update only when needed).
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
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

quirnel_jobs() { nproc 2>/dev/null || echo 2; }
