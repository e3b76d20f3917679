#!/usr/bin/env bash
# Reads the running program as a screen reader does: over AT-SPI, from outside its process, on
# a private session bus whose accessibility bus is switched on the way a screen reader does it.
# Usage: screen_reader_test.sh PROGRAM   (on a display)
set -euo pipefail
if [ -z "${LUMETTO_PRIVATE_BUS:-}" ]; then
    LUMETTO_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
LAUNCHER=$!
trap 'kill "$LAUNCHER" 2>/dev/null || true' EXIT
switched_on=
for _ in $(seq 100); do
    if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
        string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:true >/dev/null 2>&1; then
        switched_on=1
        break
    fi
    sleep 0.1
done
[ -n "$switched_on" ] || { echo "FAIL: the accessibility bus did not start" >&2; exit 1; }

# Debian's Python, which has the AT-SPI bindings.
/usr/bin/python3 "$(dirname "$0")/read_as_screen_reader.py" "$1"
