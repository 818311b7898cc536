#!/usr/bin/env bash
# Installs what is needed, builds the release preset and starts q407-demo: the real program on
# the virtual HID bus with one simulated device of each kind. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target q407 q407-demo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting q407-demo under Xvfb."
    exec xvfb-run -a -s "-screen 0 1920x1080x24" build/release/bin/q407-demo "$@"
fi
exec build/release/bin/q407-demo "$@"
