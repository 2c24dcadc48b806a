#!/usr/bin/env bash
# Runs a command on a private X display (Xvfb) with a window manager (openbox) and the
# accessibility bus, as on a user's desktop, so tools/screenshots/driver.py can find the
# program's windows and controls through AT-SPI and drive them with real keys and clicks.
#   bash tools/screenshots/session.sh COMMAND ARGS...
# SCREENSHOT_DISPLAY picks the display number (default :91).
set -u
if [ -z "${SCREENSHOT_SESSION:-}" ]; then
    exec env SCREENSHOT_SESSION=1 dbus-run-session -- "$0" "$@"
fi
display=${SCREENSHOT_DISPLAY:-:91}
Xvfb "$display" -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The same look wherever the pictures are made: Qt's own style, no desktop theme, US dates.
export QT_QPA_PLATFORMTHEME= QT_STYLE_OVERRIDE=Fusion LANG=C.UTF-8 LC_ALL=C.UTF-8
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xsetroot -solid '#54718a' # a desktop's colour where pictures show it between windows
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1
"$@"
status=$?
kill "$wm" "$bus" "$xvfb" 2>/dev/null
wait 2>/dev/null
exit $status
