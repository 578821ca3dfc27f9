#!/usr/bin/env bash
# Builds Tulmo Chat for 64-bit Windows on Debian 12 and packs TulmoChat-<version>-win64.zip in
# build-windows/. Installs what is missing (mingw-w64, Wine, Debian's Qt tools for the host),
# cross-builds Debian's own Qt, libjpeg-turbo and Hunspell sources once into a cache folder kept
# between runs, then builds the programs and gathers the DLLs they import.
#
#   bash scripts/windows.sh              everything; the Qt build takes about 40 minutes the
#                                        first time on two cores, nothing the next
#   bash scripts/windows.sh --have-qt    exit 0 when the cross-built Qt is in the cache already
#
# The cache is TULMO_WINDOWS_CACHE, by default ~/.cache/tulmo-chat/windows.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache=${TULMO_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tulmo-chat/windows}
out=$root/build-windows
target=x86_64-w64-mingw32
toolchain=$root/scripts/windows/mingw-w64.cmake
jobs=$(nproc)

# What the cross-built Qt needs and may leave out: no OpenGL, ICU, D-Bus or OpenSSL (Schannel
# builds), Qt's bundled image and text libraries, and none of the modules the programs do not
# use. Debian's source has no tablet library, so tablet events are off; the windows platform
# plugin does not link without direct2d in this Qt, so it stays on.
qt_options=(
    -release -shared -nomake tests -nomake examples
    -no-opengl -no-icu -no-dbus -no-openssl -schannel
    -qt-zlib -qt-pcre -qt-harfbuzz -qt-libpng -qt-libjpeg -no-freetype -no-fontconfig
    -no-feature-sql -no-feature-xml -no-feature-printsupport -no-feature-vulkan
    -no-feature-concurrent -no-feature-tabletevent
)

packages=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n hunspell-pt-br
    cmake ninja-build dpkg-dev nasm zip wine wine64 xvfb xauth xdotool
)

install_packages() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
}

# apt-get source needs a deb-src entry for the release in use; Debian 12's images ship none.
ensure_source_entries() {
    if grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    cat >/etc/apt/sources.list.d/tulmo-deb-src.sources <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt-get update -qq
}

# The newest version of a source package, epoch included.
source_version() {
    apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -V | tail -1
}

# Unpacks a Debian source package (its patch series applied) under $cache/src and prints its
# folder.
source_of() {
    local package=$1 version dir
    version=$(source_version "$package")
    dir=$cache/src/$package-${version#*:}
    if [[ ! -f $dir/.unpacked ]]; then
        rm -rf "$dir" "$dir.tmp"
        mkdir -p "$dir.tmp"
        (cd "$dir.tmp" && apt-get source -qq "$package=$version" >"$dir.log" 2>&1) ||
            { cat "$dir.log"; exit 1; }
        mv "$(find "$dir.tmp" -mindepth 1 -maxdepth 1 -type d | head -1)" "$dir"
        rm -rf "$dir.tmp" "$dir.log"
        touch "$dir/.unpacked"
    fi
    echo "$dir"
}

# The cached Qt is kept per Qt version, compiler and options: a change to any builds it anew.
qt_prefix() {
    local version compiler key
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    compiler=$($target-g++-posix --version | head -1)
    key=$(printf '%s\n' "$version" "$compiler" "${qt_options[@]}" | sha256sum | cut -c1-12)
    echo "$cache/qt-${version//[:+~]/_}-$key"
}

build_qt() {
    local prefix=$1 src build
    [[ -f $prefix/.complete ]] && return 0
    src=$(source_of qt6-base)
    build=$cache/qt-build
    echo "== cross-building Qt into $prefix (about 40 minutes on two cores)"
    rm -rf "$build" "$prefix"
    mkdir -p "$build"
    (cd "$build" && "$src/configure" -prefix "$prefix" "${qt_options[@]}" -qt-host-path /usr \
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$cache/qt-configure.log" 2>&1) ||
        { tail -40 "$cache/qt-configure.log"; exit 1; }
    cmake --build "$build" --parallel "$jobs"
    cmake --install "$build" >/dev/null
    rm -rf "$build"
    touch "$prefix/.complete"
}

if [[ ${1:-} == --have-qt ]]; then
    command -v $target-g++-posix >/dev/null && dpkg-query -W qt6-base-dev >/dev/null 2>&1 &&
        [[ -f $(qt_prefix)/.complete ]]
    exit
fi

# A small library is kept per source version and compiler, like Qt.
library_prefix() {
    local name=$1 version=$2 compiler
    compiler=$($target-g++-posix --version | head -1 | sha256sum | cut -c1-8)
    echo "$cache/$name-$version-$compiler"
}

# libjpeg-turbo, static, with its SIMD code (nasm).
build_jpeg() {
    local prefix=$1 src
    [[ -f $prefix/.complete ]] && return 0
    src=$(source_of libjpeg-turbo)
    echo "== cross-building libjpeg-turbo"
    rm -rf "$prefix" "$cache/jpeg-build"
    cmake -S "$src" -B "$cache/jpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF \
        -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DREQUIRE_SIMD=ON >/dev/null
    cmake --build "$cache/jpeg-build" --target install >/dev/null
    rm -rf "$cache/jpeg-build"
    touch "$prefix/.complete"
}

# Hunspell's library alone, static; its pkg-config file tells the compiler so (HUNSPELL_STATIC).
build_hunspell() {
    local prefix=$1 src build
    [[ -f $prefix/.complete ]] && return 0
    src=$(source_of hunspell)
    build=$cache/hunspell-build
    echo "== cross-building Hunspell"
    rm -rf "$prefix" "$build"
    cp -a "$src" "$build"
    (cd "$build" && ./configure --host=$target --prefix="$prefix" --disable-shared \
        --enable-static --disable-nls --without-ui --without-readline \
        CC=$target-gcc-posix CXX=$target-g++-posix >/dev/null &&
        make -C src/hunspell -j"$jobs" install >/dev/null && make install-pkgconfDATA >/dev/null)
    sed -i 's/^Cflags:.*/& -DHUNSPELL_STATIC/' "$prefix/lib/pkgconfig/hunspell.pc"
    rm -rf "$build"
    touch "$prefix/.complete"
}

# The DLLs a program or plugin imports, found in the cross-built Qt, the compiler's runtime and
# the mingw system folder, and what those import in turn; the rest is Windows' own.
gather_dlls() {
    local folder=$1 searched=("$qt/bin" "$(dirname "$($target-gcc-posix -print-libgcc-file-name)")"
        "/usr/$target/lib" "/usr/$target/bin")
    local -A seen=()
    local pending=() file name dir
    mapfile -t pending < <(find "$folder" -name '*.exe' -o -name '*.dll')
    while ((${#pending[@]})); do
        file=${pending[0]}
        pending=("${pending[@]:1}")
        while read -r name; do
            [[ -n ${seen[${name,,}]:-} ]] && continue
            seen[${name,,}]=1
            for dir in "${searched[@]}"; do
                if [[ -f $dir/$name ]]; then
                    cp "$dir/$name" "$folder/"
                    pending+=("$folder/$name")
                    break
                fi
            done
        done < <($target-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    done
}

install_packages
ensure_source_entries
mkdir -p "$cache"
qt=$(qt_prefix)
build_qt "$qt"
jpeg=$(library_prefix jpeg "$(source_version libjpeg-turbo | sed 's/^[0-9]*://')")
build_jpeg "$jpeg"
hunspell=$(library_prefix hunspell "$(source_version hunspell | sed 's/^[0-9]*://')")
build_hunspell "$hunspell"

echo "== building the programs for Windows"
export TULMO_WINDOWS_PREFIXES="$qt;$jpeg;$hunspell"
export PKG_CONFIG_LIBDIR=$hunspell/lib/pkgconfig PKG_CONFIG_SYSROOT_DIR=
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DTULMO_WERROR=ON -DTULMO_BUILD_BENCH=OFF -DTULMO_GUI_TESTS=OFF \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${launcher[@]}" >/dev/null
cmake --build "$out"

echo "== packing the zip"
version=$(sed -n 's/^project(TulmoChat VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=TulmoChat-$version-win64
stage=$out/$name
rm -rf "$stage" "$out/$name.zip"
mkdir -p "$stage/plugins/platforms" "$stage/plugins/styles" "$stage/translations"
cp "$out/tulmo-chat.exe" "$out/tulmo-server.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/plugins/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/plugins/styles/"
cp /usr/share/qt6/translations/qtbase_pt_BR.qm "$stage/translations/"
cp -L /usr/share/hunspell/pt_BR.aff /usr/share/hunspell/pt_BR.dic "$stage/"
printf '[Paths]\r\nPlugins = plugins\r\nTranslations = translations\r\n' >"$stage/qt.conf"
gather_dlls "$stage"
find "$stage" -name '*.exe' -o -name '*.dll' | xargs $target-strip --strip-unneeded
(cd "$out" && zip -qr9 "$name.zip" "$name")
echo "$out/$name.zip ($(du -h "$out/$name.zip" | cut -f1))"
