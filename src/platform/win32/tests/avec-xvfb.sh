#!/bin/sh
# Runs a command with a private Xvfb display, stopped afterwards: the host tests need a screen.
set -eu
n=150
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
DISPLAY=":$n" "$@"
