#!/usr/bin/env bash
# Runs a test that needs a display: on the display there is, else under a virtual one, else
# reports a skip (exit 77, which CTest counts as skipped). The customizer's GTK window and the
# editor's SDL window are tested through it.
set -u
# GTK: X11 and cairo. No GL in GDK either: its probe loads Mesa's driver and unloads it at exit, and what the driver
# keeps then reads as a leak from an unknown module that no suppression can name.
export GDK_BACKEND=x11 GSK_RENDERER=cairo GTK_A11Y=none GDK_DEBUG=gl-disable
# TESSEL_VIRTUAL_SCREEN (WIDTHxHEIGHTxDEPTH) asks for a virtual screen of that size even where a
# display is there: a test of how a window fits a given screen.
if [[ -n "${DISPLAY:-}" && -z "${TESSEL_VIRTUAL_SCREEN:-}" ]]; then
  exec "$@"
fi
# By default the virtual screen is tall enough for the editor's phone window at scale 2 (640 x 1136 pixels).
if command -v xvfb-run > /dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 ${TESSEL_VIRTUAL_SCREEN:-1600x1200x24}" "$@"
fi
echo "skipped: no display and no xvfb-run"
exit 77
