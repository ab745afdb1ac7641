# Shared set-up for the run and test commands: installs the Debian packages the
# game needs (when run as root), then configures and builds.  Sourced, not run.

ZARVO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZARVO_PACKAGES="build-essential cmake pkg-config libsdl1.2-compat-dev libsdl-image1.2-dev \
libsdl-mixer1.2-dev libglu1-mesa-dev libgtest-dev libbenchmark-dev xvfb xauth libgl1-mesa-dri \
xdotool x11-apps imagemagick python3-pil python3-numpy vorbis-tools fonts-dejavu-core clang libcaca0 \
dpkg-dev lintian appstream desktop-file-utils fluidsynth musescore-general-soundfont-small openbox x11-utils \
libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev sqlite3 postgresql systemd"

# The browser's game: Debian's emscripten builds it; its tests play it in
# Chromium and WebKitGTK through WebDriver and in Firefox through WebDriver
# BiDi (over python3-websockets), Firefox's sound going to a PulseAudio of its
# own that plays nowhere.
ZARVO_WEB_PACKAGES="emscripten"
ZARVO_BROWSER_PACKAGES="emscripten chromium chromium-driver python3-selenium firefox-esr webkit2gtk-driver \
python3-websockets pulseaudio"

# zarvo_install_packages [PACKAGES...]: the game's packages and those given.
zarvo_install_packages() {
    local missing=() pkg
    for pkg in $ZARVO_PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:"
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# zarvo_build DIR [cmake options...]
zarvo_build() {
    local dir=$1
    shift
    cmake -S "$ZARVO_ROOT" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)" -- --no-print-directory | grep -vE '^\[|^Consolidate|^-- ' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "build failed"; exit 1; }
}

# zarvo_fetch_classic_sdl DIR: the classic SDL 1.2 library, which conflicts
# with the installed sdl12-compat, unpacked into DIR (not installed) so that the
# same game can be run on it with LD_LIBRARY_PATH.
zarvo_fetch_classic_sdl() {
    local dir=$1 tmp
    [ -e "$dir/libSDL-1.2.so.0" ] && return 0
    tmp=$(mktemp -d)
    (cd "$tmp" && apt-get download -qq libsdl1.2debian >/dev/null && dpkg-deb -x libsdl1.2debian_*.deb root) ||
        { rm -rf "$tmp"; echo "could not fetch the classic SDL 1.2 library"; exit 1; }
    mkdir -p "$dir"
    cp -P "$tmp"/root/usr/lib/*/libSDL-1.2.so.* "$dir/"
    rm -rf "$tmp"
}

# zarvo_build_web: the browser's game in build-web/, through emscripten's
# CMake wrapper over the same CMakeLists.txt.
zarvo_build_web() {
    # Emscripten's tools need acorn, which Debian keeps where only its own
    # node looks by default.
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
    # (emcmake first says which command it runs: not news.)
    emcmake cmake -S "$ZARVO_ROOT" -B "$ZARVO_ROOT/build-web" -DCMAKE_BUILD_TYPE=Release -DZARVO_TESTS=OFF 2>&1 >/dev/null |
        grep -v '^configure: ' >&2 || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "browser configure failed"; exit 1; }
    cmake --build "$ZARVO_ROOT/build-web" -j"$(nproc)" -- --no-print-directory 2>&1 | grep -vE '^\[|^Consolidate|^-- ' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "browser build failed"; exit 1; }
}
