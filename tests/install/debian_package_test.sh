#!/usr/bin/env bash
# Packs the build with CPack and checks the Debian packages: the run-time library, its
# development files, the Designer plugin, the QML module and the demo, each under /usr, each
# depending on the exact version of the run-time library, and each one's Depends naming the
# package of every library its programs link (and the engine's helper process, for the library;
# Qt WebEngine's QML module, for the QML module). The installed
# tree itself is installed_tree_test.sh's; installing them in a fresh system, debian_root_test.sh's.
# Usage: debian_package_test.sh BUILD_DIR
set -euo pipefail
BUILD="$1"

OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$BUILD" && cpack -G DEB -B "$OUT" >/dev/null)
package() {
    local file
    file="$(find "$OUT" -maxdepth 1 -name "$1_*.deb")"
    [ -n "$file" ] || fail "cpack made no $1_*.deb"
    [ "$(dpkg-deb --field "$file" Package)" = "$1" ] || fail "$file is not named $1"
    echo "$file"
}
RUNTIME="$(package liblumetto-control3)"
DEV="$(package liblumetto-control-dev)"
DESIGNER="$(package liblumetto-control-designer)"
QUICK="$(package qml6-module-lumetto)"
DEMO="$(package lumetto-demo)"
VERSION="$(dpkg-deb --field "$RUNTIME" Version)"

depends_on() { tr ',' '\n' <<<"$(dpkg-deb --field "$1" Depends)" | sed 's/^ *//' | grep -qx "$2"; }
depends_on "$RUNTIME" 'libqt6webenginecore6-bin' || fail "the library's Depends lack libqt6webenginecore6-bin, which holds QtWebEngineProcess"
depends_on "$QUICK" 'qml6-module-qtwebengine' || fail "the QML module's Depends lack qml6-module-qtwebengine, whose WebEngineView it shows"
for user in "$DEV" "$DESIGNER" "$QUICK" "$DEMO"; do
    depends_on "$user" "liblumetto-control3 (= $VERSION)" || fail "$(basename "$user") does not depend on liblumetto-control3 (= $VERSION)"
done

# Each package's tree, and what each must hold.
tree() { local root="$OUT/root-$(basename "$1")"; dpkg-deb --extract "$1" "$root"; echo "$root"; }
RUNTIME_ROOT="$(tree "$RUNTIME")"
LIBRARY="$(find "$RUNTIME_ROOT/usr/lib" -name 'liblumetto-control.so.3' | head -n 1)"
[ -n "$LIBRARY" ] || fail "liblumetto-control3 holds no liblumetto-control.so.3"
# It installs beside the run-time packages of versions 1 and 2: each of its files is named by
# its own major version.
others="$(cd "$RUNTIME_ROOT" && find . -type f -o -type l | grep -v -e '/liblumetto-control\.so\.3[.0-9]*$' -e '/share/doc/liblumetto-control3/' || true)"
[ -z "$others" ] || fail "liblumetto-control3 holds files that another major version's package may hold: $others"
readelf --dynamic "$LIBRARY" | grep -q 'SONAME.*\[liblumetto-control.so.3\]' || fail "the library's SONAME is not liblumetto-control.so.3"
DEV_ROOT="$(tree "$DEV")"
for header in HtmlView.h lumettoversion.h; do
    [ -f "$DEV_ROOT/usr/include/lumetto/$header" ] || fail "the -dev package has no include/lumetto/$header"
done
[ -n "$(find "$DEV_ROOT/usr/lib" -path '*/cmake/LumettoControl/LumettoControlConfigVersion.cmake')" ] || fail "the -dev package has no CMake package"
[ -L "$(find "$DEV_ROOT/usr/lib" -name 'liblumetto-control.so' | head -n 1)" ] || fail "the -dev package has no liblumetto-control.so link"
DESIGNER_ROOT="$(tree "$DESIGNER")"
PLUGIN="$(find "$DESIGNER_ROOT/usr/lib" -path '*/qt6/plugins/designer/*.so' | head -n 1)"
[ -n "$PLUGIN" ] || fail "the designer package has no plugin in Qt's plugins/designer"
[ "$(basename "$PLUGIN")" = liblumetto-control-designer.so ] || fail "the plugin is named $(basename "$PLUGIN"), not liblumetto-control-designer.so"
# The QML module where Qt looks for QML modules, as Debian's qml6-module-* packages place theirs:
# its qmldir names the module and its plugin, which is in the package, with the type information.
QUICK_ROOT="$(tree "$QUICK")"
MODULE="$QUICK_ROOT/usr/lib/x86_64-linux-gnu/qt6/qml/Lumetto"
[ -f "$MODULE/qmldir" ] || fail "qml6-module-lumetto has no qmldir in Qt's qml/Lumetto"
grep -qx 'module Lumetto' "$MODULE/qmldir" || fail "the qmldir does not name the module Lumetto"
QML_PLUGIN="$MODULE/lib$(sed -n 's/^\(optional \)\?plugin \([^ ]*\).*/\2/p' "$MODULE/qmldir").so"
[ -f "$QML_PLUGIN" ] || fail "the qmldir's plugin is not in the package: $(grep plugin "$MODULE/qmldir")"
TYPEINFO="$(sed -n 's/^typeinfo //p' "$MODULE/qmldir")"
[ -n "$TYPEINFO" ] && [ -f "$MODULE/$TYPEINFO" ] || fail "the module's type information is not in the package"
DEMO_ROOT="$(tree "$DEMO")"
EXECUTABLE="$DEMO_ROOT/usr/lib/lumetto-demo/lumetto-demo"
[ -x "$EXECUTABLE" ] || fail "the demo package has no /usr/lib/lumetto-demo/lumetto-demo"
[ "$(readlink -f "$DEMO_ROOT/usr/bin/lumetto-demo")" = "$(readlink -f "$EXECUTABLE")" ] ||
    fail "/usr/bin/lumetto-demo does not lead to the executable"

# Each library a program links directly, found as the loader finds it, belongs to a package in
# its package's Depends: our own library to liblumetto-control3, the others to installed ones.
check_linked() {
    local deb="$1" program="$2" needed library path owner
    needed="$(readelf --dynamic "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
    [ -n "$needed" ] || fail "$program links no libraries"
    while read -r library path; do
        grep -qxF "$library" <<<"$needed" || continue
        if [ "$library" = liblumetto-control.so.3 ]; then continue; fi
        owner="$(dpkg -S "*${path#/usr}" | head -n 1 | cut -d: -f1)" || fail "no installed package holds $path"
        depends_on "$deb" "$owner.*" || fail "$(basename "$deb")'s Depends lack $owner, which holds $library"
    done < <(LD_LIBRARY_PATH="$(dirname "$LIBRARY")" ldd "$program" | awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }')
}
check_linked "$RUNTIME" "$LIBRARY"
check_linked "$DEMO" "$EXECUTABLE"
check_linked "$DESIGNER" "$PLUGIN"
check_linked "$QUICK" "$QML_PLUGIN"
grep -qxF liblumetto-control.so.3 <<<"$(readelf --dynamic "$EXECUTABLE" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')" ||
    fail "the demo does not link the control's shared library"
