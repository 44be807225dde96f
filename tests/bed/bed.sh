# Shell functions of the Wine test bed; sourced by wine-run and the main job.
# A bed directory holds one NT 4.0 template prefix and fresh copies of it, one per program run.

bed_env() {  # bed_env PREFIX
  export WINEPREFIX="$1" WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEDEBUG=${OBERIN_WINEDEBUG:--all}
}

# Starts a wineserver of our own for WINEPREFIX so that it can be stopped by its pid.
bed_server_start() {
  wineserver -f -p >/dev/null 2>&1 </dev/null &
  BED_SERVER_PID=$!
  # Wait for the server's socket, so that wine connects to this server and starts no other.
  # Debian's Wine keeps it in /tmp/wine-XXXXXX, upstream's in /tmp/.wine-UID.
  local server i
  server="server-$(stat -c %D "$WINEPREFIX")-$(printf %x "$(stat -c %i "$WINEPREFIX")")"
  for i in $(seq 200); do
    compgen -G "/tmp/wine-*/$server/socket" >/dev/null && break
    [ -S "/tmp/.wine-$(id -u)/$server/socket" ] && break
    kill -0 "$BED_SERVER_PID" 2>/dev/null || break
    sleep 0.05
  done
}

bed_server_stop() {
  [ -n "${BED_SERVER_PID:-}" ] || return 0
  wineserver -k >/dev/null 2>&1 || true
  local i
  for i in $(seq 50); do kill -0 "$BED_SERVER_PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$BED_SERVER_PID" 2>/dev/null || true
  wait "$BED_SERVER_PID" 2>/dev/null || true
  BED_SERVER_PID=
}

# Starts Xvfb on a display number it picks itself and exports DISPLAY.
bed_xvfb_start() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 </dev/null &
  BED_XVFB_PID=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}

bed_xvfb_stop() {
  [ -n "${BED_XVFB_PID:-}" ] || return 0
  kill "$BED_XVFB_PID" 2>/dev/null || true
  wait "$BED_XVFB_PID" 2>/dev/null || true
  BED_XVFB_PID=
}

# Creates BED/template once: a fresh 32-bit prefix set to Windows NT 4.0.
bed_template() {  # bed_template BED
  local bed="$1"
  mkdir -p "$bed"
  (
    flock 9
    [ -f "$bed/template/.ready" ] && exit 0
    rm -rf "$bed/template"
    bed_env "$bed/template"
    unset DISPLAY
    mkdir -p "$WINEPREFIX"
    bed_server_start
    wine wineboot.exe -i >/dev/null 2>&1 </dev/null
    wine winecfg.exe -v nt40 >/dev/null 2>&1 </dev/null

    bed_server_stop
    touch "$bed/template/.ready"
  ) 9>"$bed/template.lock"
}

# Makes BED/run/NAME a fresh copy of the template and prints its path. Wine's own libraries
# are hard links (nothing writes them); the registry files are real copies.
bed_prefix() {  # bed_prefix BED NAME
  local bed="$1" copy="$1/run/$2"
  bed_template "$bed"
  rm -rf "$copy"
  mkdir -p "$bed/run"
  cp -al "$bed/template" "$copy"
  local f
  for f in "$copy"/*.reg; do cp --remove-destination "$bed/template/$(basename "$f")" "$f"; done
  echo "$copy"
}

# Windows form of a Unix path, through Wine's Z: drive.
bed_winpath() {
  printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"
}
