#!/usr/bin/env bash
# PHP's built-in web server for a test process under Wine (see
# unix_command.h). Arguments: the control port, then the server's port, its
# document root, its router script, its data folder (TESSALY_DATA) and any
# NAME=value pairs for its environment (tests need no disk margin unless they
# name one). Says "ready" on the control
# connection once the server listens, or "failed <what PHP said>"; stops the
# server when the connection closes.
set -u
exec 3<>"/dev/tcp/127.0.0.1/$1" || exit 1
port=$2 root=$3 router=$4 data=$5
shift 5
log=$(mktemp)
env TESSALY_DATA="$data" TESSALY_MIN_FREE_MB=1 "$@" php -d upload_max_filesize=64M -d post_max_size=72M \
  -S "127.0.0.1:$port" -t "$root" "$router" >"$log" 2>&1 &
server=$!
# PHP reports that it started only once it listens.
until grep -q 'Development Server .* started' "$log"; do
  if ! kill -0 "$server" 2>/dev/null; then
    echo "failed $(head -c 400 "$log" | tr '\n' ' ')" >&3
    rm -f "$log"
    exit 1
  fi
  sleep 0.01
done
echo ready >&3
cat <&3 >/dev/null
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -f "$log"
