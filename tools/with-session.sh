#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test under its own X server and D-Bus session bus. Exits 77 (ctest's
# skip code) with a message when this machine cannot provide them.
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIP: xvfb-run is not installed; this test needs a real X server" >&2
    exit 77
fi
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "SKIP: dbus-run-session is not installed; this test needs a session bus" >&2
    exit 77
fi
unset QT_QPA_PLATFORM
# QM_SCREEN: another screen size, WIDTHxHEIGHTxDEPTH.
exec xvfb-run -a -s "-screen 0 ${QM_SCREEN:-1280x1024x24}" dbus-run-session -- "$@"
