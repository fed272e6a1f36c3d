#!/usr/bin/env bash
# scripts/serve as a user starts it: it warns while the server would take the
# default security key, says how to choose another, and is quiet once one
# is chosen.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
# Only this shell cleans up: a background child killed before it ran its
# program would run the trap too.
trap '[ "$BASHPID" = "$$" ] && rm -rf "$work"' EXIT
failures=0

# Starts scripts/serve, waits until PHP listens, stops it; its output in
# $work/out, removed first: the last run's would say "started" before this
# server has even begun.
serve() {
  local port
  rm -f "$work/out"
  port=$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0");
    echo substr(strrchr(stream_socket_get_name($s, false), ":"), 1);')
  "$root/scripts/serve" "$port" "$work/data" >"$work/out" 2>&1 &
  local server=$! waited=0
  until grep -qs 'Development Server .* started' "$work/out"; do
    if ! kill -0 "$server" 2>/dev/null || [ $((waited += 1)) -gt 1500 ]; then
      echo "scripts/serve did not start:" && cat "$work/out"
      failures=$((failures + 1))
      break
    fi
    sleep 0.01
  done
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
}

expect() {
  if ! grep -qF -- "$2" "$work/out"; then
    echo "$1: missing \"$2\" in:" && cat "$work/out"
    failures=$((failures + 1))
  fi
}

unset TESSALY_SECURITY_KEY
serve
expect "default key" "WARNING: the server accepts the default security key"
expect "default key" "TESSALY_SECURITY_KEY='<your key>' scripts/serve"
expect "default key" '"securitykey"'

TESSALY_SECURITY_KEY=k3yOfOurOwn serve
if grep -q WARNING "$work/out"; then
  echo "own key: warned all the same:" && cat "$work/out"
  failures=$((failures + 1))
fi
expect "own key" "uploads go to http://127.0.0.1:"

[ "$failures" -eq 0 ] && echo "passed"
exit "$failures"
