# Sourced by scripts/windows: builds Qt for Windows once, statically, from
# the qt6-base source of this Debian (Debian 13's tree: see scripts/windows),
# with Debian's patches, and with only what the program uses, into
# $DIELEKTRA_QT_WIN (a cache outside the checkout).

# The cache, and in it the folder of the Qt for Windows of the host Qt's
# Debian version (qt6-base-dev installed): a security update of Debian's Qt
# builds it anew. scripts/debian13 binds the machine's
# $DIELEKTRA_CACHE/windows into its tree, so it is kept beside the tree.
windows_paths() {
    DIELEKTRA_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/dielektra"
    DIELEKTRA_QT_WIN="$DIELEKTRA_CACHE/windows/qt6-base-$(dpkg-query -W -f='${Version}' \
        qt6-base-dev)-win64"
    export DIELEKTRA_CACHE DIELEKTRA_QT_WIN
}

# What the Windows build and its tests need on Debian.
DIELEKTRA_WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix qt6-base-dev-tools qt6-translations-l10n
    wine wine64 fonts-wine nsis zip xvfb xdotool x11-utils imagemagick
)

# Fonts that every Windows has, as far as free ones go: Wine's own Tahoma and
# MS Sans Serif (fonts-wine), each as Windows registers it ("registry name=file").
# MS Sans Serif is the bitmap font of Windows; Wine skips its TrueType
# ms_sans_serif.ttf, which holds bitmaps alone.
DIELEKTRA_WINE_FONTS=(
    "Tahoma (TrueType)=tahoma.ttf" "Tahoma Bold (TrueType)=tahomabd.ttf"
    "MS Sans Serif=sserife.fon"
)
DIELEKTRA_WINE_FONTS_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'

# Wine, with a prefix of its own (made once), quiet, and without the Mono and
# Gecko installers that a new prefix would offer; the fonts above copied into
# C:\windows\Fonts and entered under the registry's Fonts key, where missing.
# Wine under test otherwise finds neither, though they are on the machine.
use_wine() { # prefix
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        DISPLAY= wineboot --init
        wineserver --wait
    fi
    local font name file added=0
    for font in "${DIELEKTRA_WINE_FONTS[@]}"; do
        name="${font%=*}" file="${font#*=}"
        [ -f "$WINEPREFIX/drive_c/windows/Fonts/$file" ] ||
            cp "/usr/share/wine/fonts/$file" "$WINEPREFIX/drive_c/windows/Fonts/"
        # Entered only once: other runs may be using the prefix.
        if ! grep -qF "\"$name\"=\"$file\"" "$WINEPREFIX/system.reg"; then
            wine reg add "$DIELEKTRA_WINE_FONTS_KEY" /v "$name" /d "$file" /f >/dev/null
            added=1
        fi
    done
    # Written to disk before a test copies the prefix.
    [ "$added" -eq 0 ] || wineserver --wait
}

# Takes out of a prefix the fonts that use_wine put in: Wine as most
# machines have it, with the system's fonts alone.
remove_wine_fonts() { # prefix
    local font
    for font in "${DIELEKTRA_WINE_FONTS[@]}"; do
        rm -f "$1/drive_c/windows/Fonts/${font#*=}"
        WINEPREFIX="$1" wine reg delete "$DIELEKTRA_WINE_FONTS_KEY" /v "${font%=*}" /f \
            >/dev/null 2>&1 || true # none there
    done
    WINEPREFIX="$1" wineserver --wait
}

# The arguments that configure a build folder for Windows against that Qt.
windows_cmake_args() {
    echo -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIELEKTRA_WERROR=ON \
        "-DCMAKE_TOOLCHAIN_FILE=$DIELEKTRA_QT_WIN/lib/cmake/Qt6/qt.toolchain.cmake" \
        "-DQT_CHAINLOAD_TOOLCHAIN_FILE=$DIELEKTRA_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_CROSSCOMPILING_EMULATOR=wine \
        "-DDIELEKTRA_QT_DEBIAN_VERSION=$(dpkg-query -W -f='${Version}' qt6-base-dev)"
}

# Left out: modules the program never links, features no control of it uses
# (and which the Windows style would otherwise pull in through its casts), and
# image formats other than PNG (built in) and JPEG (the About banner).
DIELEKTRA_QT_FEATURES_OFF=(
    sql network dbus opengl dynamicgl printsupport concurrent xml vulkan
    sessionmanager gif ico pdf
    # Direct2D 1.1, which only the Direct2D platform plugin needs: the
    # program never loads it. (Without Direct2D itself, Qt 6.8.2's font
    # database does not compile.)
    direct2d1_1
    # Debian's source lacks wintab.h.
    tabletevent
    mdiarea dockwidget calendarwidget filedialog fontdialog colordialog wizard
    textodfwriter movie
    # Bundled copies, not the host's.
    system_zlib system_png system_jpeg system_freetype system_harfbuzz
    system_pcre2 system_doubleconversion
)

# Downloads qt6-base's source through a private apt state: the machine's own
# sources and lists stay as they are.
fetch_qt_source() { # work-dir
    local work="$1" state="$1/apt"
    mkdir -p "$state/lists/partial" "$state/cache/archives/partial"
    local keyring=/usr/share/keyrings/debian-archive-keyring.gpg codename
    codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    cat >"$state/sources.list" <<SOURCES
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename main
deb-src [signed-by=$keyring] http://deb.debian.org/debian $codename-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $codename-security main
SOURCES
    local options=(-o "Dir::Etc::SourceList=$state/sources.list"
        -o "Dir::Etc::SourceParts=$state/none" -o "Dir::State::Lists=$state/lists"
        -o "Dir::Cache=$state/cache" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
    apt-get "${options[@]}" update -qq
    (cd "$work" && apt-get "${options[@]}" source --download-only -qq \
        "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)")
}

build_qt_for_windows() {
    local work="$DIELEKTRA_QT_WIN.work" started=$SECONDS
    echo "== building Qt for Windows into $DIELEKTRA_QT_WIN (once; about 30 minutes on two cores)"
    rm -rf "$work" "$DIELEKTRA_QT_WIN.partial"
    mkdir -p "$work"
    fetch_qt_source "$work"
    # With Debian's patches: its security fixes are among them.
    dpkg-source --no-copy -x "$work"/qt6-base_*.dsc "$work/source" >/dev/null
    local features=() feature
    for feature in "${DIELEKTRA_QT_FEATURES_OFF[@]}"; do
        features+=("-DFEATURE_$feature=OFF")
    done
    # Sections of their own, so that the program's link keeps only what it reaches.
    local sections="-ffunction-sections -fdata-sections"
    cmake -S "$work/source" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$DIELEKTRA_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$DIELEKTRA_QT_WIN.partial" \
        -DCMAKE_C_FLAGS="$sections" -DCMAKE_CXX_FLAGS="$sections" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=OFF -DFEATURE_optimize_size=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        "${features[@]}"
    cmake --build "$work/build"
    cmake --install "$work/build"
    mv "$DIELEKTRA_QT_WIN.partial" "$DIELEKTRA_QT_WIN"
    rm -rf "$work"
    echo "== Qt for Windows built in $((SECONDS - started)) s"
}
