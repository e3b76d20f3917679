#!/usr/bin/env bash
# Installs the build into a temporary prefix, then builds each example as a project of its own
# against that prefix only (find_package(LumettoControl)), runs it on the display and uses it
# with real clicks and keys: the page is painted, the program reports what was clicked, and the
# records examples, with widgets and with Qt Quick, store in their database what was typed, and
# only what the database accepts. RECORDS_SCREENSHOTS=FOLDER and QUICK_RECORDS_SCREENSHOTS=FOLDER
# save the records examples' windows there, for the README.
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

# start PROGRAM TITLE [ARGUMENT...]: runs it, its output in $WORK/out, and waits for its window.
start() {
    local program="$1" title="$2"
    shift 2
    "$program" "$@" >"$WORK/out" 2>&1 &
    APP_PID=$!
    WINDOW="$(timeout 60 xdotool search --sync --pid "$APP_PID" --name "^$title\$" | head -n 1)" || true
    [ -n "$WINDOW" ] || fail "the window '$title' did not come up"
}
stop() { kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=; }

# colour_box COLOUR: waits until the window shows that colour; prints the box around all of it
# as "WIDTH HEIGHT X Y".
colour_box() {
    local box=
    for _ in $(seq 60); do
        # A grab of a window not mapped yet can wait on the X server indefinitely: it is tried again.
        box="$(timeout 10 import -window "$WINDOW" png:- | convert - -fill black +opaque "$1" -format '%@' info:)" || true
        case "$box" in 0x0*|"") sleep 0.5 ;; *) break ;; esac
    done
    case "$box" in 0x0*|"") fail "the page never showed $1" ;; esac
    echo "${box//[x+]/ }"
}

# click_colour COLOUR: waits until the window shows that colour, then clicks the middle of it.
click_colour() {
    local box w h x y
    box="$(colour_box "$1")"
    read -r w h x y <<<"$box"
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

# The records examples, each on a database of its own, made on first run: the widget one and the
# Qt Quick one walk the same way through the same template's page. What they show is checked on
# the screen, what they stored in the file through a second connection, once the program ended.
# paint_colour ID: the colour of that paint's picture (its corner), read from the database.
paint_colour() {
    sqlite3 "$DB" "SELECT writefile('$WORK/paint.png', picture) FROM paints WHERE id = $1" >/dev/null
    convert "$WORK/paint.png" -format '%[pixel:p{2,2}]' info:
}
# pixels_of COLOUR IMAGE: how many pixels of the image have that colour.
pixels_of() { convert "$2" -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:; }
# shows_paint ID: waits until the record view shows that paint's picture, at its own size: the
# window holds at least half as many pixels of its colour as the picture (a row's small picture
# holds far fewer).
shows_paint() {
    local colour own
    colour="$(paint_colour "$1")"
    own="$(pixels_of "$colour" "$WORK/paint.png")"
    for _ in $(seq 60); do
        (($(import -window "$WINDOW" png:- | pixels_of "$colour" -) * 2 >= own)) && return 0
        sleep 0.5
    done
    fail "the record view does not show paint $1"
}
# screenshot NAME: saves the window into $SHOTS, when it names a folder.
screenshot() { if [ -n "$SHOTS" ]; then import -window "$WINDOW" "$SHOTS/$1.png"; fi; }

# type_into first|last TEXT: replaces the text of the record's first or last field (the fields'
# borders, one colour, frame them) with real keys.
type_into() {
    local box w h x y
    box="$(colour_box '#CBD2D9')"
    read -r w h x y <<<"$box"
    [ "$1" = first ] && y=$((y + 6)) || y=$((y + h - 6))
    xdotool mousemove --window "$WINDOW" $((x + w / 2)) "$y" click 1
    xdotool key ctrl+a
    xdotool type --delay 40 -- "$2"
}

# stored QUERY VALUE: waits until the database file answers the query with that value.
stored() {
    for _ in $(seq 60); do
        [ "$(sqlite3 "$DB" "$1")" = "$2" ] && return 0
        sleep 0.5
    done
    fail "the database answers '$(sqlite3 "$DB" "$1")' to '$1', not '$2'"
}

# walk_records PROGRAM TITLE SCREENSHOTS: the walk, in the program whose window has that title.
walk_records() {
    local box w h x y
    DB="$WORK/paints-$(basename "$1").sqlite"
    SHOTS="$3"
    start "$1" "$2" "$DB"
    shows_paint 1
    box="$(colour_box '#D9E2EC')"                  # First, Previous, Next, Last: four equal buttons
    read -r w h x y <<<"$box"
    xdotool mousemove --window "$WINDOW" $((x + w * 5 / 8)) $((y + h / 2)) click 1
    shows_paint 2
    click_colour "$(paint_colour 9)"               # the ninth row of the list, by its small picture
    shows_paint 9
    screenshot 01-navigated
    PRICE="$(sqlite3 "$DB" "SELECT price FROM paints WHERE id = 9")"

    type_into first "Harbour Mist"
    click_colour '#2F855A'                          # Save
    reported "Saved"
    type_into last "-4"                             # the price, which the table's CHECK keeps above zero
    click_colour '#2F855A'
    reported "Not saved: CHECK constraint failed: price > 0"
    screenshot 02-edited

    type_into last "$PRICE"                         # the price corrected, saved with the name
    click_colour '#2F855A'
    stored "SELECT name, price FROM paints WHERE id = 9" "Harbour Mist|$PRICE"

    # The list holds every paint, thousands of blends after the named ones, of which the page
    # holds those near its viewport: End in the list scrolls to the last one, the model fetching
    # the rest of the table on the way; a click on it shows it in the record view, and its new
    # name is saved.
    LAST="$(sqlite3 "$DB" "SELECT max(id) FROM paints")"
    click_colour "$(paint_colour 2)"
    xdotool key End
    click_colour '#5A2878'                          # the last blend's picture, in a colour of its own
    shows_paint "$LAST"
    screenshot 03-last-blend
    type_into first "Final Blend"
    click_colour '#2F855A'
    stored "SELECT name FROM paints WHERE id = $LAST" "Final Blend"
    stop
}

build records
walk_records "$WORK/records/lumetto_records" "Lumetto records example" "${RECORDS_SCREENSHOTS:-}"
# The Qt Quick one imports the QML module from the prefix, where Qt looks when told; its reports
# are QML's console messages, bare.
build quick_records
QML_IMPORT_PATH="$(dirname "$(dirname "$(find "$PREFIX" -path '*/Lumetto/qmldir' | head -n 1)")")"
export QML_IMPORT_PATH QT_MESSAGE_PATTERN='%{message}'
walk_records "$WORK/quick_records/lumetto_quick_records" "Lumetto Qt Quick records example" "${QUICK_RECORDS_SCREENSHOTS:-}"
export -n QML_IMPORT_PATH QT_MESSAGE_PATTERN

# The package's component Quick names the module's folder in the prefix it was installed into,
# for QML's tools as well; without the module, or asked for a component it lacks, the package is
# not found, and says why.
mkdir -p "$WORK/component"
cat >"$WORK/component/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.19)
project(component LANGUAGES CXX)
find_package(LumettoControl 3.0 REQUIRED COMPONENTS ${COMPONENTS})
message(STATUS "module folder: ${LumettoControl_QML_IMPORT_PATH}|${QML_IMPORT_PATH}")
CMAKE
# configure_component COMPONENTS: configures the project in a fresh folder, its output in $WORK/component.log.
configure_component() {
    rm -rf "$WORK/component-build"
    cmake -S "$WORK/component" -B "$WORK/component-build" -DCMAKE_PREFIX_PATH="$PREFIX" -DCOMPONENTS="$1" >"$WORK/component.log" 2>&1
}
configure_component Quick || { cat "$WORK/component.log" >&2; fail "the component Quick is not found"; }
grep -qF -- "module folder: $QML_IMPORT_PATH|$QML_IMPORT_PATH" "$WORK/component.log" ||
    fail "the component Quick does not name the prefix's folder of QML modules, $QML_IMPORT_PATH: $(grep 'module folder' "$WORK/component.log")"
! configure_component Quick3D || fail "a component the package lacks is found"
if [ -z "${3:-}" ]; then  # only the prefix of this test's own is changed
    mv "$QML_IMPORT_PATH/Lumetto/qmldir" "$WORK/qmldir"
    ! configure_component Quick || fail "the component Quick is found without the QML module"
    mv "$WORK/qmldir" "$QML_IMPORT_PATH/Lumetto/qmldir"
    tr -s ' \n' '  ' <"$WORK/component.log" | grep -qF "the QML module Lumetto is not in $QML_IMPORT_PATH " ||
        fail "without the QML module, the package does not say where it looked: $(cat "$WORK/component.log")"
fi

# build_program NAME: builds $WORK/NAME/main.cpp as a project of its own against the installed
# package, the program $WORK/NAME-build/NAME.
build_program() {
    cat >"$WORK/$1/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.19)
project($1 LANGUAGES CXX)
find_package(LumettoControl 3.0 REQUIRED)
add_executable($1 main.cpp)
target_link_libraries($1 PRIVATE Lumetto::Control)
CMAKE
    cmake -S "$WORK/$1" -B "$WORK/$1-build" -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/$1.log" 2>&1 &&
        cmake --build "$WORK/$1-build" >>"$WORK/$1.log" 2>&1 || { cat "$WORK/$1.log" >&2; return 1; }
}

# The README's program, built as a project of its own against the installed package.
mkdir -p "$WORK/readme"
awk '/^## The control in your own program/ { inside = 1 } inside && /^```cpp$/ { take = 1; next }
     take && /^```$/ { exit } take { print }' "$SOURCE/README.md" >"$WORK/readme/main.cpp"
[ -s "$WORK/readme/main.cpp" ] || fail "the README has no program under 'The control in your own program'"
build_program readme || fail "the README's program does not build"

# The README's Qt Quick program, its main and its QML, built as a project of its own against the
# installed package's component Quick, run, and its link clicked.
mkdir -p "$WORK/readme_quick"
readme_block() {
    awk -v language="$1" '/^### In Qt Quick/ { inside = 1 } inside && $0 == "```" language { take = 1; next }
         take && /^```$/ { exit } take { print }' "$SOURCE/README.md"
}
readme_block cpp >"$WORK/readme_quick/main.cpp"
readme_block qml >"$WORK/readme_quick/Main.qml"
[ -s "$WORK/readme_quick/main.cpp" ] && [ -s "$WORK/readme_quick/Main.qml" ] || fail "the README has no Qt Quick program under 'In Qt Quick'"
cat >"$WORK/readme_quick/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.19)
project(readme_quick LANGUAGES CXX)
find_package(LumettoControl 3.0 REQUIRED COMPONENTS Quick)
add_executable(readme_quick main.cpp)
qt_add_resources(readme_quick page PREFIX / FILES Main.qml)
target_link_libraries(readme_quick PRIVATE Lumetto::Quick)
CMAKE
cmake -S "$WORK/readme_quick" -B "$WORK/readme_quick-build" -DCMAKE_PREFIX_PATH="$PREFIX" >"$WORK/readme_quick.log" 2>&1 &&
    cmake --build "$WORK/readme_quick-build" >>"$WORK/readme_quick.log" 2>&1 || { cat "$WORK/readme_quick.log" >&2; fail "the README's Qt Quick program does not build"; }
export QML_IMPORT_PATH QT_MESSAGE_PATTERN='%{message}'
start "$WORK/readme_quick-build/readme_quick" "Lumetto in Qt Quick"
click_colour '#DDE6F5'
reported "A more"
stop
unset QML_IMPORT_PATH QT_MESSAGE_PATTERN

# The version macros, compiled against the installed headers: they name the version of the
# installed CMake package, and the library the program runs with is of that version.
VERSION="$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' "$(find "$PREFIX" -name LumettoControlConfigVersion.cmake | head -n 1)")"
IFS=. read -r MAJOR MINOR PATCH <<<"$VERSION"
mkdir -p "$WORK/version"
cat >"$WORK/version/main.cpp" <<CPP
#include <lumetto/Version.h>
#include <lumetto/lumettoversion.h>

#include <cstdio>

static_assert(LUMETTO_VERSION == LUMETTO_VERSION_CHECK($MAJOR, $MINOR, $PATCH), "LUMETTO_VERSION");
static_assert(LUMETTO_VERSION_CHECK($MAJOR, $MINOR, $PATCH) == ($MAJOR << 16 | $MINOR << 8 | $PATCH), "0xMMmmpp");
static_assert(LUMETTO_VERSION > LUMETTO_VERSION_CHECK(2, 255, 255), "above every 2.x");
#if LUMETTO_VERSION < LUMETTO_VERSION_CHECK(3, 0, 0)
#error "LUMETTO_VERSION is not usable in #if"
#endif

int main() {
    std::puts(LUMETTO_VERSION_STR);
    std::puts(qPrintable(lumetto::version()));
}
CPP
build_program version || fail "the version macros do not compile as documented"
[ "$("$WORK/version-build/version")" = "$VERSION"$'\n'"$VERSION" ] || fail "LUMETTO_VERSION_STR or lumetto::version() is not $VERSION"
