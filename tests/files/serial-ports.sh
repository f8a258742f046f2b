#!/usr/bin/env bash
# Links a socat pseudo-terminal pair into the Wine prefix as two COM ports, one with a
# plain DOS name (below 10) and one that needs the device namespace (10 and above), and
# the first end also as LPT<low>, for CommFileTest. Usage: serial-ports.sh start|stop STATEDIR LOW HIGH
# The state directory gets "ports" (the two port names, or "skip: reason" when the pair
# cannot be made) and socat's pid; stop ends socat and removes the links.
set -u

action=$1 state=$2 low=$3 high=$4
prefix=${WINEPREFIX:?WINEPREFIX is not set}
dos="$prefix/dosdevices"

stop() {
  if [ -f "$state/socat.pid" ]; then
    kill "$(cat "$state/socat.pid")" 2>/dev/null || true
    rm -f "$state/socat.pid"
  fi
  for link in "com$low" "com$high" "lpt$low"; do
    # Only our own links: those pointing at a pseudo terminal.
    if [ -L "$dos/$link" ] && [[ "$(readlink "$dos/$link")" == /dev/pts/* ]]; then
      rm -f "$dos/$link"
    fi
  done
}

skip() {
  echo "skip: $*" >"$state/ports"
  exit 0
}

case "$action" in
stop)
  stop
  exit 0
  ;;
start)
  mkdir -p "$state"
  stop
  rm -f "$state/ports" "$state/a" "$state/b"
  command -v socat >/dev/null || skip "socat is not installed"
  # The prefix must exist before links can go into it.
  "$(dirname "$0")/../../scripts/wine-run" cmd /c exit >/dev/null 2>&1 || true
  [ -d "$dos" ] || skip "no dosdevices folder in $prefix"
  socat pty,link="$state/a",raw,echo=0 pty,link="$state/b",raw,echo=0 \
    </dev/null >"$state/socat.log" 2>&1 &
  echo $! >"$state/socat.pid"
  for _ in $(seq 50); do
    [ -e "$state/a" ] && [ -e "$state/b" ] && break
    sleep 0.1
  done
  [ -e "$state/a" ] && [ -e "$state/b" ] || { stop; skip "socat made no pty pair"; }
  ln -sfn "$(readlink -f "$state/a")" "$dos/com$low"
  ln -sfn "$(readlink -f "$state/b")" "$dos/com$high"
  # The low end doubles as a parallel port.
  ln -sfn "$(readlink -f "$state/a")" "$dos/lpt$low"
  echo "COM$low COM$high LPT$low" >"$state/ports"
  ;;
*)
  echo "usage: $0 start|stop STATEDIR LOW HIGH" >&2
  exit 2
  ;;
esac
