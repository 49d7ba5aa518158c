#!/bin/bash
# Run by run_with_proxies.sh in the wrapper's test: the stand-ins' ports are
# exported, and a speed test reaches the table server through the SOCKS
# stand-in and through the relay stand-in (login and port header).
set -euo pipefail
hex() { od -An -tx1 -v | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
speed_test='\x10\x01\x00\x00\x08\x00\x00\x00\x07\x00\x00\x00\x78\x56\x34\x12'
echo_reply='10 01 00 80 08 00 00 00 01 00 00 00 78 56 34 12 07 00 00 00'

for var in MARDAVEL_TABLESERVER_PORT MARDAVEL_SOCKS_PORT MARDAVEL_RELAY_PORT; do
  [ -n "${!var:-}" ] || { echo "$var is not set"; exit 1; }
done

# SOCKS4 to the table server (port 80 asked; the stand-in's --target decides).
exec 3<>"/dev/tcp/127.0.0.1/$MARDAVEL_SOCKS_PORT"
printf '\x04\x01\x00\x50\x7f\x00\x00\x01me\x00' >&3
[ "$(timeout 5 head -c 8 <&3 | hex | cut -c1-5)" = "00 5a" ] || { echo "SOCKS4 refused"; exit 1; }
printf "$speed_test" >&3
got=$(timeout 5 head -c 20 <&3 | hex)
[ "$got" = "$echo_reply" ] || { echo "through SOCKS4: '$got'"; exit 1; }
exec 3<&-

# The relay: greeting, login tavry/pw, connect by name, then port header and speed test.
exec 4<>"/dev/tcp/127.0.0.1/$MARDAVEL_RELAY_PORT"
printf '\x05\x02\x00\x02\x01\x05tavry\x02pw\x05\x01\x00\x03\x0ags.example\x1f\x41' >&4
[ "$(timeout 5 head -c 14 <&4 | hex | cut -c1-17)" = "05 02 01 00 05 00" ] || { echo "relay refused"; exit 1; }
printf '\x63\x06\x00\x00\x08\x00\x00\x00\xa1\x0f\x00\x00\x00\x00\x00\x00' >&4
printf "$speed_test" >&4
got=$(timeout 5 head -c 20 <&4 | hex)
[ "$got" = "$echo_reply" ] || { echo "through the relay: '$got'"; exit 1; }
exec 4<&-
echo "wrapper ok"
