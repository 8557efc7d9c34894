#!/bin/bash
# The local world the tests and tools/run talk to, all on loopback:
#   upstream proxies   tinyproxy with BasicAuth on 127.0.0.1:18201, 18202, 18203,
#                      and one without authentication on 127.0.0.1:18204;
#                      one on 127.0.0.1:18205 whose users have credentials of every
#                      length from 1 to 40 (the relay's padding check)
#   maker's server     tests/world/maker_server.py on 127.0.0.1:18188 (when present)
#   scripted proxies   tests/world/scripted_proxy.py: origin 18210, proxies 18211-18220
# Usage: world.sh start|stop [state-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cmd=${1:-}
state=${2:-${WORLD_DIR:-$here/../../build/world}}
mkdir -p "$state"
state=$(cd "$state" && pwd)

# Must match tests/world/World.h.
proxy_ports=(18201 18202 18203 18204)
open_proxy_port=18204
proxy_user=corvane
proxy_password=tessaly-relay-pass
maker_port=18188
scripted_base_port=18210
# Must match world::kCredential* in tests/world/World.h.
credential_proxy_port=18205
credential_user_letters=Corvane9876543210zyxwvutsrqponmlkjihgfedcbaZ
credential_password_letters=Tessaly0123456789abcdefghijklmnopqrstuvwxyzQ

wait_port() {
  local port=$1
  for _ in $(seq 1 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return 0
    sleep 0.1
  done
  echo "world: nothing listens on port $port" >&2
  return 1
}

start() {
  stop >/dev/null 2>&1 || true
  chmod 777 "$state"
  local port
  for port in "${proxy_ports[@]}"; do
    cat > "$state/tinyproxy-$port.conf" <<CONF
User nobody
Group nogroup
Port $port
Listen 127.0.0.1
Timeout 60
LogFile "$state/tinyproxy-$port.log"
LogLevel Info
MaxClients 200
Allow 127.0.0.1
$( [ "$port" = "$open_proxy_port" ] || echo "BasicAuth $proxy_user $proxy_password" )
ViaProxyName "upstream-$port"
DisableViaHeader No
CONF
    : > "$state/tinyproxy-$port.log"
    chmod 666 "$state/tinyproxy-$port.log"
    tinyproxy -d -c "$state/tinyproxy-$port.conf" >/dev/null 2>&1 &
    echo $! > "$state/tinyproxy-$port.pid"
  done
  # Password of n characters for user "corvane", and user of n characters
  # with password "p", for n = 1..40.
  {
    cat <<CONF
User nobody
Group nogroup
Port $credential_proxy_port
Listen 127.0.0.1
Timeout 60
LogFile "$state/tinyproxy-$credential_proxy_port.log"
LogLevel Info
MaxClients 100
Allow 127.0.0.1
ViaProxyName "upstream-$credential_proxy_port"
CONF
    local n
    for n in $(seq 1 40); do
      echo "BasicAuth $proxy_user ${credential_password_letters:0:$n}"
      echo "BasicAuth ${credential_user_letters:0:$n} p"
    done
  } > "$state/tinyproxy-$credential_proxy_port.conf"
  : > "$state/tinyproxy-$credential_proxy_port.log"
  chmod 666 "$state/tinyproxy-$credential_proxy_port.log"
  tinyproxy -d -c "$state/tinyproxy-$credential_proxy_port.conf" >/dev/null 2>&1 &
  echo $! > "$state/tinyproxy-$credential_proxy_port.pid"
  if [ -f "$here/maker_server.py" ]; then
    python3 "$here/maker_server.py" --port "$maker_port" --state "$state" \
      > "$state/maker_server.log" 2>&1 &
    echo $! > "$state/maker_server.pid"
  fi
  # Proxies of our own that misbehave on purpose, and the origin behind them.
  python3 "$here/scripted_proxy.py" --base-port "$scripted_base_port" > "$state/scripted_proxy.log" 2>&1 &
  echo $! > "$state/scripted_proxy.pid"
  for port in "${proxy_ports[@]}"; do wait_port "$port"; done
  wait_port "$credential_proxy_port"
  wait_port "$scripted_base_port"
  [ -f "$here/maker_server.py" ] && wait_port "$maker_port"
  echo "world: up in $state"
}

stop() {
  local f
  for f in "$state"/*.pid; do
    [ -f "$f" ] || continue
    kill "$(cat "$f")" 2>/dev/null || true
    rm -f "$f"
  done
  echo "world: down"
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop [state-dir]" >&2; exit 2 ;;
esac
