# Sourced by the scripts that start stand-in programs.
#
# listening_port PID OUTFILE: waits up to ten seconds for the line
# "listening on 127.0.0.1:PORT" that program PID writes to OUTFILE and
# prints PORT; prints nothing when the program ended or was not ready in time.
listening_port() {
  local pid=$1 out=$2 port=
  for _ in $(seq 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$out" | head -1)
    [ -n "$port" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$port"
}
