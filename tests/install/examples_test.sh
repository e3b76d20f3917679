#!/usr/bin/env bash
# Installs the build into a temporary prefix, then builds each example as a project of its own
# against that prefix only (find_package(LumettoControl)), runs it on the display and uses it
# with real clicks: the page is painted, and the program reports what was clicked.
# Usage: examples_test.sh BUILD_DIR SOURCE_DIR [PREFIX]   (PREFIX: an installed tree to use instead)
set -euo pipefail
BUILD="$1"
SOURCE="$2"

WORK="$(mktemp -d)"
APP_PID=
trap 'if [ -n "$APP_PID" ]; then kill "$APP_PID" 2>/dev/null || true; fi; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$WORK/out" ] && sed 's/^/  program: /' "$WORK/out" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "no display to run the examples on"

PREFIX="${3:-}"
if [ -z "$PREFIX" ]; then
    PREFIX="$WORK/prefix"
    cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
fi

# build EXAMPLE: configures and builds one example against the prefix alone.
build() {
    cmake -S "$SOURCE/examples/$1" -B "$WORK/$1" -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/$1.log" 2>&1 ||
        { cat "$WORK/$1.log" >&2; fail "$1 does not configure against the installed package"; }
    cmake --build "$WORK/$1" -j2 >>"$WORK/$1.log" 2>&1 || { cat "$WORK/$1.log" >&2; fail "$1 does not build"; }
}

# start PROGRAM TITLE: runs it, its output in $WORK/out, and waits for its window.
start() {
    "$1" >"$WORK/out" 2>/dev/null &
    APP_PID=$!
    WINDOW="$(timeout 60 xdotool search --sync --pid "$APP_PID" --name "^$2\$" | head -n 1)" || true
    [ -n "$WINDOW" ] || fail "the window '$2' did not come up"
}
stop() { kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=; }

# click_colour COLOUR: waits until the window shows that colour, then clicks the middle of it.
click_colour() {
    local box=
    for _ in $(seq 60); do
        box="$(import -window "$WINDOW" png:- | convert - -fill black +opaque "$1" -format '%@' info:)"
        case "$box" in 0x0*|"") sleep 0.5 ;; *) break ;; esac
    done
    case "$box" in 0x0*|"") fail "the page never showed $1" ;; esac
    local w h x y
    IFS='x+' read -r w h x y <<<"$box"
    xdotool mousemove --window "$WINDOW" $((x + w / 2)) $((y + h / 2)) click 1
}

# reported TEXT: waits until the program has written that line.
reported() {
    for _ in $(seq 60); do
        grep -qxF "$1" "$WORK/out" && return 0
        sleep 0.5
    done
    fail "the program did not report '$1'"
}

build minimal
start "$WORK/minimal/lumetto_minimal" "Lumetto minimal example"
click_colour '#DDE6F5'          # the link, a block of its own colour
reported "Clicked A"
click_colour '#C8E6C9'          # the form's button
reported "Answers: name=Ada, city=London"
stop

build designer_form
start "$WORK/designer_form/lumetto_designer_form" "Lumetto Designer example"
click_colour '#DDE6F5'          # the middle of the table's three cells, set in the .ui file
reported "Picked green"
stop

# The README's program, built as a project of its own against the installed package.
mkdir -p "$WORK/readme"
awk '/^## The control in your own program/ { inside = 1 } inside && /^```cpp$/ { take = 1; next }
     take && /^```$/ { exit } take { print }' "$SOURCE/README.md" >"$WORK/readme/main.cpp"
[ -s "$WORK/readme/main.cpp" ] || fail "the README has no program under 'The control in your own program'"
cat >"$WORK/readme/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.19)
project(readme LANGUAGES CXX)
find_package(LumettoControl 2.0 REQUIRED)
add_executable(readme main.cpp)
target_link_libraries(readme PRIVATE Lumetto::Control)
CMAKE
cmake -S "$WORK/readme" -B "$WORK/readme-build" -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/readme.log" 2>&1 &&
    cmake --build "$WORK/readme-build" >>"$WORK/readme.log" 2>&1 || { cat "$WORK/readme.log" >&2; fail "the README's program does not build"; }
