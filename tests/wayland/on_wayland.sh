#!/usr/bin/env bash
# Runs a program under a headless Wayland compositor of its own, with Qt on Wayland and no X
# display, and stops the compositor afterwards.
# Usage: on_wayland.sh PROGRAM [ARGUMENTS...]
source "$(dirname "$0")/../../scripts/prepare.sh"
start_wayland
"$@"
