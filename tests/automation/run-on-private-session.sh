#!/bin/sh
# Runs a test on a session bus and an X display of its own, with XDG folders of
# its own, so that it neither sees nor touches the user's. Editors that the bus
# starts for clients inherit this environment and draw offscreen.
set -eu
tmp=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -m 700 "$tmp/runtime"
mkdir "$tmp/data" "$tmp/system" "$tmp/config" "$tmp/cache"
export XDG_RUNTIME_DIR="$tmp/runtime" XDG_DATA_HOME="$tmp/data" XDG_DATA_DIRS="$tmp/system"
export XDG_CONFIG_HOME="$tmp/config" XDG_CACHE_HOME="$tmp/cache"
export QT_QPA_PLATFORM=offscreen

# -noreset: between two editors no client is connected, and a server that
# resets then turns the next one away.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$tmp/display" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 200 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n 1 "$tmp/display")"

status=0
timeout -k 5 280 dbus-run-session -- "$@" || status=$?
exit "$status"
