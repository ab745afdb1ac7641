#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into DIR (default build-fuzz/).
#   fuzz/build.sh [DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz}
mkdir -p "$out"
cxx=${CXX_FUZZ:-$(command -v clang++-14 || command -v clang++)}
flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root/src")
sdl_cflags=$(pkg-config --cflags sdl SDL_image SDL_mixer)
sdl_libs=$(pkg-config --libs sdl SDL_image SDL_mixer)
build() {  # name sources...
    local name=$1; shift
    local target="$out/$name"
    local newest=$(ls -t "$@" "$root"/src/*/*.h | head -1)
    if [ -x "$target" ] && [ "$target" -nt "$newest" ]; then return 0; fi
    # shellcheck disable=SC2086
    "$cxx" "${flags[@]}" $sdl_cflags "$@" -o "$target" $sdl_libs -lGLU -lGL
}
desktop=("$root"/src/target/Desktop*.cpp)
build highscore_fuzz "$root/fuzz/highscore_fuzz.cpp" "$root/src/frontend/HighScoreTable.cpp"
build replay_fuzz "$root/fuzz/replay_fuzz.cpp" "$root/src/game/Replay.cpp"
build font_fuzz "$root/fuzz/font_fuzz.cpp" $(ls "$root"/src/*/*.cpp | grep -v -e /main.cpp -e /target/) "${desktop[@]}"
echo "fuzzers in $out"
