#!/usr/bin/env bash
# Posts the upload form with curl for the bench (see tests/support/unix_command.h):
# arguments are the control port, the picture file, the address and the
# security key. Writes curl's own total time in seconds to the control
# connection. "Expect:" keeps curl from waiting a second for a "100 Continue"
# that PHP's server never sends.
exec 3<>"/dev/tcp/127.0.0.1/$1" || exit 1
curl -s -o /dev/null -w '%{http_code} %{time_total}' -H 'Expect:' \
  -F "security_key=$4" -F workorder_id=0 \
  -F "file=@$2;filename=Orbicam.jpg;type=application/octet-stream" "$3" >&3
