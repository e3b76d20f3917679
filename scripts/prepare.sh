# Shared by scripts/run, scripts/test and scripts/bench: installs what is missing, builds, and
# provides a display. Sourced, not run.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-declarative-dev qt6-webengine-dev qt6-webchannel-dev libqt6webenginecore6-bin libgl-dev
    googletest libgtest-dev libgmock-dev
    xvfb xauth xdotool imagemagick fonts-dejavu-core fonts-liberation libx11-dev libxtst-dev
    desktop-file-utils dpkg-dev file
    at-spi2-core dbus-daemon dbus-bin gir1.2-atspi-2.0 python3-gi appstream man-db groff-base
    weston qt6-wayland wl-clipboard
    qt6-tools-dev doxygen debootstrap
    libqt6sql6-sqlite sqlite3
    qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates qml6-module-qtquick-window qml6-module-qtquick-layouts
    qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript qml6-module-qtwebengine
    qml6-module-qtwebchannel qml6-module-qttest
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

# build [TARGET]: the whole project, or one target of it.
build() {
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" -j"$(nproc)" ${1:+--target "$1"}
}

# Qt WebEngine's sandbox cannot run as root.
engine_environment() {
    if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
}

# started PROGRAM TEST...: waits up to ten seconds for the test to hold, and ends the script
# when it does not.
started() {
    local program="$1"
    shift
    for _ in $(seq 100); do
        "$@" && return
        sleep 0.1
    done
    echo "$program did not start" >&2
    exit 1
}

# Starts a virtual display when there is none; it ends with the script.
ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then return; fi
    local number_file
    number_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
    started Xvfb test -s "$number_file"
    export DISPLAY=":$(cat "$number_file")"
    rm -f "$number_file"
    VIRTUAL_DISPLAY=1
}

# Starts a Wayland compositor of our own, with a seat, and makes it the only display for the
# programs that follow; it ends with the script. Weston runs on its X11 backend inside a
# virtual X display of its own, its host: the compositor's output is a window at that
# display's origin, and the compositor's pointer and keyboard are the display's. Input
# sent into the host with XTest (LUMETTO_SEAT_DISPLAY names it) reaches the programs through
# the compositor as a person's does, and the output's pixels are read there. The programs get
# no X display of their own.
start_wayland() {
    engine_environment
    local name="lumetto-wayland-$$" number_file
    number_file="$(mktemp)"
    # Wider than the output, so that the pointer can leave the output's window and come back.
    Xvfb -displayfd 3 -screen 0 1040x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    WAYLAND_HOST_PID=$!
    WESTON_CONFIG="$(mktemp)"
    trap 'kill "${WESTON_PID:-}" "$WAYLAND_HOST_PID" 2>/dev/null || true; rm -f "$WESTON_CONFIG"' EXIT
    started Xvfb test -s "$number_file"
    local host=":$(cat "$number_file")"
    rm -f "$number_file"
    printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nbackground-color=0xff404040\n' >"$WESTON_CONFIG"
    DISPLAY="$host" weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 --socket="$name" \
        --config="$WESTON_CONFIG" >/dev/null 2>&1 &
    WESTON_PID=$!
    started weston test -S "$XDG_RUNTIME_DIR/$name"
    export WAYLAND_DISPLAY="$name" QT_QPA_PLATFORM=wayland LUMETTO_SEAT_DISPLAY="$host"
    unset DISPLAY
}
