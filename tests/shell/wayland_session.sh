#!/bin/sh
# Runs a command on a Wayland display of its own (a headless Weston) with a D-Bus session bus, as
# the shell's end-to-end tests run a second time: the same checks on Wayland as on X11.
set -eu
runtime=$(mktemp -d)  # Wayland wants XDG_RUNTIME_DIR private to the user; mktemp makes it 0700
socket=wayland-vexloweb-$$
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
  --width=1600 --height=1200 \
  >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; wait "$weston" 2>/dev/null || true; rm -rf "$runtime"' EXIT
tries=0
while [ ! -S "$runtime/$socket" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 300 ] || ! kill -0 "$weston" 2>/dev/null; then
    echo "wayland_session.sh: weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.1
done
status=0
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" GDK_BACKEND=wayland \
  dbus-run-session -- "$@" || status=$?
exit "$status"
