# Sourced by the scripts in this folder: finds the project and installs what a
# fresh Debian 12 machine lacks.

DIELEKTRA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export DIELEKTRA_ROOT

# Debian packages the build, the tests and the window need.
DIELEKTRA_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev
    qt6-base-dev qt6-translations-l10n libgl-dev
    fonts-liberation2
    xvfb xauth x11-utils
    weston qt6-wayland libweston-10-dev
    desktop-file-utils appstream dpkg-dev file fakeroot lintian
)

ensure_packages() {
    local missing=() package
    for package in "${DIELEKTRA_PACKAGES[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Configures and builds one build folder: configure_and_build DIR [cmake args...]
configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$DIELEKTRA_ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}
