# Sourced by the start-up benchmarks: a folder of their own ($tmp), an X server without a window
# manager (so a program's own map is seen) and a session bus, as on a desktop: without one, every
# Qt program that shows text would spawn dbus-launch to look for the accessibility bus.
tmp=$(mktemp -d)
n=150; while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${DBUS_SESSION_BUS_PID:-} 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=":$n"
for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
export XDG_RUNTIME_DIR="$tmp/run"; mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
eval "$(dbus-launch --sh-syntax)"
