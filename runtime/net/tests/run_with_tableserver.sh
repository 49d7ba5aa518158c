#!/bin/bash
# Runs a test program against the table server stand-in: starts the native
# server on a free loopback port, hands the port to the test through
# MARDAVEL_TABLESERVER_PORT (and the file of its log through
# MARDAVEL_TABLESERVER_LOG), runs the test and stops the server again.
# Usage: run_with_tableserver.sh SERVER_PROGRAM TEST_COMMAND...
# Fails (exit code 1) when the server program is missing.
set -uo pipefail
server=$1; shift
if [ ! -x "$server" ]; then
  echo "table server not found at '$server': build the native tree (scripts/build native)" \
       "or point the cache variable MARDAVEL_TABLESERVER at the program"
  exit 1
fi
work=$(mktemp -d)
"$server" --port 0 --seed 11 >"$work/stdout" 2>"$work/log" &
pid=$!
stop() { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$work"; }
trap stop EXIT
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$work/stdout" | head -1)
  [ -n "$port" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "the table server did not start:"; cat "$work/log"
  exit 1
fi
MARDAVEL_TABLESERVER_PORT=$port MARDAVEL_TABLESERVER_LOG="$work/log" "$@"
rc=$?
if [ $rc -ne 0 ]; then
  echo "---- the test ended with exit code $rc; table server log"; cat "$work/log"
fi
exit $rc
