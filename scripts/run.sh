#!/usr/bin/env bash
# Installs what is needed, builds Settings and starts it. Without a display it runs in a virtual
# X server with a window manager, waits for the window and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target Settings
if [ -n "${DISPLAY:-}" ]; then
  exec build/src/app/Settings
fi
shot="${SCREENSHOT:-$PWD/settings-screenshot.png}"
export DBUS_SESSION_BUS_ADDRESS=disabled:
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1  # let the window manager take over the screen before the first window maps
  build/src/app/Settings &
  app=$!
  xdotool search --sync --name "^Setup$" >/dev/null
  # The help window opens by itself once the main window has painted and gone idle.
  for _ in $(seq 150); do
    xdotool search --onlyvisible --name "^Instructions for Settings utility$" >/dev/null && break
    sleep 0.1
  done
  sleep "${SETTLE:-1}"
  import -window root "$0"
  kill $app
' "$shot"
echo "Screenshot saved to $shot"
