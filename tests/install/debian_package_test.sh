#!/usr/bin/env bash
# Packs the build with CPack and checks the Debian package: its name, that it installs the
# command under /usr, and that its Depends name the package of every library the program links
# and the engine's helper process. The installed tree itself is installed_tree_test.sh's.
# Usage: debian_package_test.sh BUILD_DIR
set -euo pipefail
BUILD="$1"

OUT="$(mktemp -d)"
trap 'rm -rf "$OUT"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$BUILD" && cpack -G DEB -B "$OUT" >/dev/null)
PACKAGE="$(find "$OUT" -maxdepth 1 -name 'lumetto-demo_*.deb')"
[ -n "$PACKAGE" ] || fail "cpack made no lumetto-demo_*.deb"
[ "$(dpkg-deb --field "$PACKAGE" Package)" = lumetto-demo ] || fail "the package is not named lumetto-demo"

DEPENDS="$(dpkg-deb --field "$PACKAGE" Depends)"
depends_on() { tr ',' '\n' <<<"$DEPENDS" | sed 's/^ *//; s/ .*//' | grep -qxF "$1"; }
depends_on libqt6webenginecore6-bin || fail "Depends lacks libqt6webenginecore6-bin, which holds QtWebEngineProcess"

ROOT="$OUT/root"
dpkg-deb --extract "$PACKAGE" "$ROOT"
EXECUTABLE="$ROOT/usr/lib/lumetto-demo/lumetto-demo"
[ -x "$EXECUTABLE" ] || fail "the package has no /usr/lib/lumetto-demo/lumetto-demo"
[ "$(readlink -f "$ROOT/usr/bin/lumetto-demo")" = "$(readlink -f "$EXECUTABLE")" ] ||
    fail "/usr/bin/lumetto-demo does not lead to the executable"

# Each library the program links directly, found as the loader finds it, belongs to a package
# in Depends.
NEEDED="$(readelf --dynamic "$EXECUTABLE" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
[ -n "$NEEDED" ] || fail "the executable links no libraries"
while read -r library path; do
    grep -qxF "$library" <<<"$NEEDED" || continue
    owner="$(dpkg -S "*${path#/usr}" | head -n 1 | cut -d: -f1)" || fail "no installed package holds $path"
    depends_on "$owner" || fail "Depends lacks $owner, which holds $library"
done < <(ldd "$EXECUTABLE" | awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }')
