#!/usr/bin/env bash
# A real sound input for the tests: PulseAudio in user mode with a null sink
# "recsink", a source "recsrc" remapped from its monitor (the default input)
# and a steady 1 kHz source "sine". ALSA's "default" goes through PulseAudio.
#
#   eval "$(scripts/test-input.sh start)"   starts it and prints the exports
#   scripts/test-input.sh stop              stops what start started
set -euo pipefail
dir="${SORVELLA_PULSE_DIR:-/tmp/sorvella-pulse}"
export XDG_RUNTIME_DIR="$dir/runtime"
export XDG_CONFIG_HOME="$dir/config"
export HOME="$dir/home"

exports() {
  echo "export XDG_RUNTIME_DIR='$XDG_RUNTIME_DIR'"
  echo "export PULSE_SERVER='unix:$XDG_RUNTIME_DIR/pulse/native'"
  echo "export PULSE_COOKIE='$XDG_CONFIG_HOME/pulse/cookie'"
}

case "${1:-}" in
start)
  "$0" stop >/dev/null 2>&1 || true
  # A fresh server every time: PulseAudio restores volumes that an earlier
  # run's mixer tests set from its state files.
  rm -rf "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$HOME"
  mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio -D --exit-idle-time=-1 --disallow-exit --daemonize=yes \
    --log-target="file:$dir/pulse.log" \
    --load="module-null-sink sink_name=recsink rate=44100 channels=2" >&2
  for _ in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl info >/dev/null
  pactl load-module module-remap-source source_name=recsrc master=recsink.monitor >/dev/null
  pactl load-module module-sine-source source_name=sine rate=44100 frequency=1000 >/dev/null
  pactl set-default-sink recsink
  pactl set-default-source recsrc
  cat "$XDG_RUNTIME_DIR/pulse/pid" > "$dir/server.pid"
  exports
  ;;
env) exports ;;  # only the exports, for a server that is already running
stop)
  if [[ -f "$dir/server.pid" ]]; then
    pid=$(cat "$dir/server.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rm -f "$dir/server.pid"
  fi
  ;;
*)
  echo "usage: $0 start|stop" >&2
  exit 2
  ;;
esac
