#!/usr/bin/env bash
# Installs what is needed, builds the dev preset (Debug, -Werror, ASan+UBSan) and runs every test
# tier this machine supports: unit, integration, ui and fuzz under a private D-Bus session on
# Qt's offscreen platform, x11 on an X server of its own (xvfb-run, inside ctest); then the
# kernel tier inside the hid-vm when QEMU can run here.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset dev
cmake --build --preset dev
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Every case has its own time limit; --timeout covers any registered without one.
dbus-run-session -- ctest --preset dev --label-exclude kernel -j "$jobs" --timeout 300 --no-tests=error

kernel_count=$(ctest --test-dir build/dev -N -L kernel | sed -n 's/^Total Tests: //p')
if [ "${kernel_count:-0}" -eq 0 ]; then
    echo "kernel tier: no kernel tests in this build."
    exit 0
fi
vm=${HID_VM_DIR:-$(cd .. && pwd)/shared/tools/hid-vm}
if [ ! -x "$vm/run-in-vm.sh" ]; then
    echo "kernel tier SKIPPED: the hid-vm tools were not found at $vm (set HID_VM_DIR)."
    exit 0
fi
if ! "$vm/setup.sh" >/tmp/q407-hid-vm-setup.log 2>&1; then
    echo "kernel tier SKIPPED: QEMU cannot run here (see /tmp/q407-hid-vm-setup.log)."
    exit 0
fi
RUNVM_RW=$PWD/build/dev "$vm/run-in-vm.sh" ctest --test-dir build/dev -L kernel --output-on-failure
