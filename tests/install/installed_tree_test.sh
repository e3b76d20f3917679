#!/usr/bin/env bash
# Installs the build into a staging prefix and checks what a desktop needs of the installed
# tree, then starts the program through its command and looks for the pages' image in its window.
# Usage: installed_tree_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD="$1"
SOURCE="$2"

STAGE="$(mktemp -d)"
APP_PID=
trap 'if [ -n "$APP_PID" ]; then kill "$APP_PID" 2>/dev/null || true; fi; rm -rf "$STAGE"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$STAGE" >/dev/null

# The application directory: the executable with the image its pages load.
EXECUTABLE="$STAGE/lib/lumetto-demo/lumetto-demo"
[ -f "$EXECUTABLE" ] && [ -x "$EXECUTABLE" ] || fail "no executable in lib/lumetto-demo"
file "$EXECUTABLE" | grep -q ELF || fail "lib/lumetto-demo/lumetto-demo is not a program"
cmp -s "$SOURCE/app/icon-logo.gif" "$STAGE/lib/lumetto-demo/icon-logo.gif" ||
    fail "icon-logo.gif is not beside the executable"

# The command: a relative link, so that it holds in a package and under any prefix.
COMMAND="$STAGE/bin/lumetto-demo"
[ -L "$COMMAND" ] || fail "bin/lumetto-demo is not a link"
case "$(readlink "$COMMAND")" in /*) fail "bin/lumetto-demo links to an absolute path" ;; esac
[ "$(readlink -f "$COMMAND")" = "$(readlink -f "$EXECUTABLE")" ] || fail "bin/lumetto-demo does not lead to the executable"

# The menu entry and its icon.
ENTRY="$STAGE/share/applications/lumetto-demo.desktop"
[ -f "$ENTRY" ] || fail "no menu entry in share/applications"
desktop-file-validate "$ENTRY" || fail "desktop-file-validate rejects the menu entry"
entry_value() { sed -n "s/^$1=//p" "$ENTRY"; }
[ -x "$STAGE/bin/$(entry_value Exec | cut -d' ' -f1)" ] || fail "Exec= is not the installed command"
ICONS="$STAGE/share/icons/hicolor"
ICON="$(entry_value Icon)"
[ -f "$ICONS/48x48/apps/$ICON.png" ] || fail "no 48x48 icon named '$ICON', the size menus look for first"
for png in "$ICONS"/*/apps/"$ICON".png; do
    size="$(basename "$(dirname "$(dirname "$png")")")"
    file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a PNG of $size"
done
file "$ICONS/scalable/apps/$ICON.svg" | grep -q SVG || fail "no scalable icon named '$ICON'"

# Started through the command from elsewhere, the program finds its image: the logo's blue
# (#1A4A8C) shows in the window.
[ -n "${DISPLAY:-}" ] || fail "no display to start the program on"
(cd / && exec "$COMMAND") &
APP_PID=$!
WINDOW="$(timeout 60 xdotool search --sync --pid "$APP_PID" --name '^Form1$' | head -n 1)"
[ -n "$WINDOW" ] || fail "the window Form1 did not come up"
logo_pixels() {
    import -window "$WINDOW" png:- | convert - +transparent '#1A4A8C' -alpha extract -format '%[fx:round(mean*w*h)]' info:
}
for _ in $(seq 60); do
    [ "$(logo_pixels)" -ge 500 ] && exit 0
    sleep 0.5
done
fail "the window does not show the pages' image"
