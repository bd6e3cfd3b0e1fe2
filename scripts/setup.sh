# Shared by scripts/run and scripts/test: installs what a fresh Debian 12 machine lacks
# and builds the project into build/ (or $BUILD, with $CMAKE_OPTIONS added).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QUELBRIN_BUILD_DIR:-$ROOT/build}"
CMAKE_OPTIONS=()
PACKAGES=(cmake ninja-build g++ pkg-config libxml2-dev libgtest-dev libgl-dev
          qt6-base-dev qt6-serialbus-dev qt6-serialport-dev qt6-svg-dev qt6-charts-dev libqt6serialbus6
          qt6-translations-l10n)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

build() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CMAKE_OPTIONS[@]}"
    cmake --build "$BUILD" --parallel "$(nproc)"
}
