# Sourced by the scripts in this folder: finds the project and installs what a
# fresh Debian 12 or 13 machine lacks.

DIELEKTRA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export DIELEKTRA_ROOT
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
    xvfb xauth x11-utils xdotool
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

# Configures and builds one build folder: configure_and_build DIR [cmake args...]
configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$DIELEKTRA_ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}

# Runs a build command and shows its output. A compiler or linker warning
# (Ninja shows the output of every command that printed one) does not stop
# the run: the build is added to DIELEKTRA_WARNED, for the caller to fail
# later; only a failed build returns non-zero. An up-to-date build compiles
# nothing and so shows no warning: for the project's own targets,
# DIELEKTRA_WERROR=ON makes each warning an error that no rerun passes.
DIELEKTRA_WARNED=()
build_noting_warnings() { # name command...
    local name="$1" log status=0
    shift
    log="$(mktemp)"
    "$@" 2>&1 | tee "$log" || status=$?
    if grep -q 'warning:' "$log"; then
        DIELEKTRA_WARNED+=("$name")
        echo "== warnings in the $name build:"
        grep 'warning:' "$log"
    fi
    rm -f "$log"
    return "$status"
}

# Fails when a build noted by build_noting_warnings printed a warning.
fail_on_warnings() {
    if [ ${#DIELEKTRA_WARNED[@]} -ne 0 ]; then
        echo "FAIL: compiler or linker warnings in the build(s): ${DIELEKTRA_WARNED[*]} (above)" >&2
        return 1
    fi
}
