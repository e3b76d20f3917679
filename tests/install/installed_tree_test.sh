#!/usr/bin/env bash
# Installs the build into a staging prefix and checks what a desktop needs of the installed
# tree, then starts the program through its command and looks for the pages' image in its window.
# Usage: installed_tree_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
BUILD="$1"
SOURCE="$2"
VERSION="$3"

STAGE="$(mktemp -d)"
APP_PID=
trap 'if [ -n "$APP_PID" ]; then kill "$APP_PID" 2>/dev/null || true; fi; rm -rf "$STAGE"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$STAGE" >/dev/null

# The application directory: the executable with the image its pages load.
EXECUTABLE="$STAGE/lib/lumetto-demo/lumetto-demo"
[ -f "$EXECUTABLE" ] && [ -x "$EXECUTABLE" ] || fail "no executable in lib/lumetto-demo"
file "$EXECUTABLE" | grep -q ELF || fail "lib/lumetto-demo/lumetto-demo is not a program"
cmp -s "$SOURCE/demo/app/icon-logo.gif" "$STAGE/lib/lumetto-demo/icon-logo.gif" ||
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

# What software centres read: valid metadata that launches the menu entry, with the project's
# version as its release and screenshots that the tour takes.
METAINFO=("$STAGE"/share/metainfo/*.metainfo.xml)
[ "${#METAINFO[@]}" -eq 1 ] && [ -f "${METAINFO[0]}" ] || fail "not one metainfo file in share/metainfo"
appstreamcli validate --no-net "${METAINFO[0]}" || fail "appstreamcli rejects the metainfo"
metainfo_values() { sed -n "s:.*<$1[^>]*>\(.*\)</$1>.*:\1:p" "${METAINFO[0]}"; }
[ -f "$STAGE/share/applications/$(metainfo_values launchable)" ] || fail "the metainfo launches no installed menu entry"
grep -q "<release version=\"$VERSION\"" "${METAINFO[0]}" || fail "the metainfo's release is not version $VERSION"
for image in $(metainfo_values image); do
    [ -f "$SOURCE/docs/tour/$(basename "$image")" ] || fail "the metainfo shows $image, which the tour does not take"
done

# The manual page renders without a warning and tells of the command's options.
PAGE="$STAGE/share/man/man1/lumetto-demo.1"
[ -f "$PAGE" ] || fail "no manual page in share/man/man1"
warnings="$(MANWIDTH=80 man --warnings -l "$PAGE" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "man warns of the manual page: $warnings"
MANWIDTH=80 man -l "$PAGE" 2>/dev/null | grep -q -- "--version" || fail "the manual page does not tell of --version"
grep -q "\"lumetto-demo $VERSION\"" "$PAGE" || fail "the manual page is not of version $VERSION"

# The command line: answers without a display, and a bad option ends the program at once with
# status 2, before any window opens.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$COMMAND" --version)" = "lumetto-demo $VERSION" ] || fail "--version does not print the version"
env -u DISPLAY -u WAYLAND_DISPLAY "$COMMAND" --help | grep -q -- "--version" || fail "--help does not list --version"
status=0
message="$(timeout 30 "$COMMAND" --no-such-option 2>&1 >/dev/null)" || status=$?
[ "$status" -eq 2 ] || fail "a bad option ended the program with status $status, not 2"
echo "$message" | grep -q "no-such-option" || fail "a bad option is not named in the message: $message"

# Started through the command from elsewhere, with Qt's own options, the program finds its
# image: the logo's blue (#1A4A8C) shows in the window.
[ -n "${DISPLAY:-}" ] || fail "no display to start the program on"
(cd / && exec "$COMMAND" -style Fusion -reverse) &
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
