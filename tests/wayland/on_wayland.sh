#!/usr/bin/env bash
# Runs a program under a Wayland compositor of its own with a seat, with Qt on Wayland and no
# X display, and stops the compositor afterwards. The program's input goes through the
# compositor (see start_wayland in scripts/prepare.sh).
# Usage: on_wayland.sh PROGRAM [ARGUMENTS...]
source "$(dirname "$0")/../../scripts/prepare.sh"
start_wayland
"$@"
