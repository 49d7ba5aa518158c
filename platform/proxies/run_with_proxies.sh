#!/bin/bash
# Runs a test command with proxy stand-ins (and the table server stand-in) on
# free loopback ports, and stops them all afterwards.
#
# Usage: run_with_proxies.sh PROXIES_PROGRAM TABLESERVER_PROGRAM [STANDIN...] -- COMMAND...
#   TABLESERVER_PROGRAM  the table server, started with --port 0 --seed 11; its
#                        port goes to MARDAVEL_TABLESERVER_PORT and the file of
#                        its log to MARDAVEL_TABLESERVER_LOG ("-": none)
#   STANDIN              "NAME=MODE [OPTIONS]": one mardavel_proxies started with
#                        MODE OPTIONS --port 0; its port goes to MARDAVEL_<NAME>_PORT.
#                        In OPTIONS "{tableserver}" stands for 127.0.0.1:PORT of the
#                        table server and "{NAME}" for that of a stand-in started
#                        before. Options are split at blanks.
# Example:
#   run_with_proxies.sh mardavel_proxies mardavel_tableserver \
#       "RELAY=relay --user tavry --password pw --target {tableserver}" \
#       "SOCKS=socks --bound name" -- wine64 test.exe
# Fails (exit code 1) when a program is missing.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../serverkit/listening_port.sh"
proxies=$1; server=$2; shift 2
standins=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do standins+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
if [ ! -x "$proxies" ] || { [ "$server" != "-" ] && [ ! -x "$server" ]; }; then
  echo "stand-in program missing ('$proxies', '$server'): build the native tree (scripts/build native)"
  exit 1
fi

work=$(mktemp -d)
pids=()
stop() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap stop EXIT

# start NAME PROGRAM ARGS...: runs it, waits for its "listening on" line and
# exports MARDAVEL_<NAME>_PORT.
start() {
  local name=$1; shift
  "$@" >"$work/$name.out" 2>"$work/$name.log" &
  local pid=$!
  pids+=("$pid")
  local port
  port=$(listening_port "$pid" "$work/$name.out")
  if [ -z "$port" ]; then
    echo "$name did not start:"; cat "$work/$name.log"
    exit 1
  fi
  export "MARDAVEL_${name}_PORT=$port"
}

if [ "$server" != "-" ]; then
  start TABLESERVER "$server" --port 0 --seed 11
  export MARDAVEL_TABLESERVER_LOG="$work/TABLESERVER.log"
fi
for standin in "${standins[@]}"; do
  name=${standin%%=*}
  options=${standin#*=}
  if [ "$name" = "$standin" ] || ! [[ "$name" =~ ^[A-Z][A-Z0-9_]*$ ]]; then
    echo "bad stand-in '$standin' (NAME=MODE [OPTIONS])"
    exit 2
  fi
  # {tableserver} and {NAME} become the loopback address of what was started.
  for var in $(compgen -e | grep '^MARDAVEL_.*_PORT$'); do
    key=${var#MARDAVEL_}; key=${key%_PORT}
    [ "$key" = TABLESERVER ] && key=tableserver
    options=${options//\{$key\}/127.0.0.1:${!var}}
  done
  read -r -a words <<<"$options"
  start "$name" "$proxies" "${words[@]}" --port 0
done

"$@"
rc=$?
if [ $rc -ne 0 ]; then
  echo "---- the test ended with exit code $rc"
  for log in "$work"/*.log; do echo "---- $(basename "$log" .log)"; cat "$log"; done
fi
exit $rc
