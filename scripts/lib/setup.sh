# Sourced by the scripts in this folder: finds the project and installs what a
# fresh Debian 12 or 13 machine lacks.

DIELEKTRA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export DIELEKTRA_ROOT
# Jobs of every build that a script or test starts; the machine has two cores.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
# The Debian 13 tree that scripts/debian13 builds once, in the cache beside
# Qt for Windows.
DIELEKTRA_DEBIAN13_TREE="${DIELEKTRA_DEBIAN13_TREE:-${XDG_CACHE_HOME:-$HOME/.cache}/dielektra/debian13}"

# Debian packages the build, the tests and the window need, on Debian 12 and 13
# alike (scripts/debian13 installs them in its tree too).
DIELEKTRA_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev
    qt6-base-dev qt6-translations-l10n libgl-dev
    fonts-liberation2
    xvfb x11-utils xdotool
    python3-pyatspi at-spi2-core dbus-daemon
    weston qt6-wayland
    fonts-dejavu-core fonts-urw-base35
    desktop-file-utils appstream dpkg-dev file fakeroot lintian
    # It sets the build's date (cmake/Reproducible.cmake): a build made
    # without it differs from one made with it.
    git
)
# What scripts/fuzz and scripts/lint add.
DIELEKTRA_CLANG_PACKAGES=(clang clang-tidy clang-format libclang-rt-dev)

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

# Runs a command that starts X, Wayland or D-Bus servers. In scripts/debian13's
# tree it gets a network namespace of its own: the servers listen on sockets
# in the tree's own /tmp, and on Linux also on abstract ones, which belong to
# the network namespace, so they cannot meet a server of the machine's that
# took the same display number.
isolated() {
    if [ -n "${DIELEKTRA_IN_DEBIAN13_TREE:-}" ]; then
        unshare --net -- "$@"
    else
        "$@"
    fi
}

# Configures and builds one build folder outside the presets, which fails on a
# warning in the project's own code as the presets do:
#   configure_and_build DIR [cmake args...]
configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$DIELEKTRA_ROOT" -B "$dir" -G Ninja -DDIELEKTRA_WERROR=ON "$@"
    cmake --build "$dir"
}
