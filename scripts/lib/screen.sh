# A private Xvfb screen (source this file): start_screen WxH starts one on a
# free display number, exports DISPLAY and keeps the server's pid in
# XVFB_PID; stop_screen ends it.
start_screen() {
  local file
  file=$(mktemp)
  Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp 5>"$file" >/dev/null 2>&1 </dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
  [ -s "$file" ] || { rm -f "$file"; echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(cat "$file")
  rm -f "$file"
}

stop_screen() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
