#!/usr/bin/env bash
# Runs a test program on an X server of its own (Xvfb, 96 dots per inch) with Qt's xcb
# platform: what offscreen rendering hides shows there, such as the icons the desktop's theme
# puts on message buttons.
#   onxserver.sh PROGRAM [ARGUMENT...]
set -euo pipefail
source "$(dirname "$0")/../../scripts/xserver.sh"

start_xvfb 1024x768 60
status=0
"${on_xcb[@]}" "$@" || status=$?
exit "$status"
