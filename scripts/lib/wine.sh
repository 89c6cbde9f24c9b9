# Wine for the Windows suites: virtual displays and fresh prefixes owned by the caller, each
# stopped by the PID recorded when it was started. Sourced by scripts/test; needs $work (a
# folder of the caller's, removed by it) and the function say.
#
#   wine_start arch      a display, a fresh prefix of arch (win32 or win64) booted, and its
#                        wineserver for the whole run; sets WINEPREFIX, DISPLAY and the rest
#   wine_stop arch       ends the prefix's processes, its wineserver and its display
#   wine_stop_all        the same for every prefix started
#   wine_runs_32bit      true when this machine can run Wine's 32-bit loader at all
#
# A 64-bit prefix is booted by the 64-bit loader; the suites' 32-bit programs then run under
# WoW64 in it, as 32-bit programs do on 64-bit Windows.

# Every 32-bit Windows program, in a 32-bit or a 64-bit prefix, starts through Wine's 32-bit
# Linux loader; a kernel without 32-bit support refuses it ("Exec format error").
wine_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

declare -A wine_prefix_dir=() wine_server_pid=() wine_display_pid=()

# Waits up to limit seconds for the process pid to end; false when it is still there.
wine_wait_gone() {
  local pid=$1 limit=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    [ "$waited" -ge $((limit * 10)) ] && return 1
    sleep 0.1
    waited=$((waited + 1))
  done
}

# A virtual display of its own for arch; sets DISPLAY.
wine_display() {
  local arch=$1 number="$work/display-$arch"
  : >"$number"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$number" >"$work/xvfb-$arch.log" 2>&1 &
  wine_display_pid[$arch]=$!
  # Xvfb writes its display's number once it accepts clients; a limit only for a broken one.
  local waited=0
  until [ -s "$number" ]; do
    if ! kill -0 "${wine_display_pid[$arch]}" 2>/dev/null || [ "$waited" -ge 1200 ]; then
      cat "$work/xvfb-$arch.log" >&2
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n 1 "$number")"
}

wine_start() {
  local arch=$1 loader=wine
  [ "$arch" = win64 ] && loader=/usr/lib/wine/wine64
  wine_display "$arch" || return 1
  wine_prefix_dir[$arch]="$work/wine-$arch"
  # winemenubuilder.exe off: the associations the tests write must not reach the host's menus.
  export WINEPREFIX="${wine_prefix_dir[$arch]}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Told to the tests, which can check that they run where they are meant to.
  export LINKVANE_WINEARCH=$arch
  WINEARCH=$arch timeout 600 "$loader" wineboot -i >"$work/wineboot-$arch.log" 2>&1 ||
    { cat "$work/wineboot-$arch.log" >&2; return 1; }
  if [ "$arch" = win64 ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    echo "the prefix $WINEPREFIX is not a 64-bit one" >&2
    return 1
  fi
  # wineboot's own server ends by itself once the prefix is set up; then one server for the
  # whole run is started in the foreground, so that its PID is the one recorded.
  timeout 120 wineserver -w || true
  wineserver -f -p >"$work/wineserver-$arch.log" 2>&1 &
  wine_server_pid[$arch]=$!
  # A fresh prefix hands http URLs to winebrowser, and so to the host's browser: no test may
  # ever start it, so the prefix has no default http handler (the tests set their own). The
  # keys are removed with the prefix's own loader and checked as the 32-bit programs see them.
  local key
  for key in 'HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http\UserChoice' \
             'HKCR\http\shell\open\command' 'HKCR\https\shell\open\command'; do
    "$loader" reg delete "$key" /f >/dev/null 2>&1 || true
  done
  if wine reg query 'HKCR\http\shell\open\command' >/dev/null 2>&1; then
    echo "the prefix still names an http handler" >&2
    return 1
  fi
}

wine_stop() {
  local arch=$1
  local server=${wine_server_pid[$arch]:-} display=${wine_display_pid[$arch]:-}
  if [ -n "$server" ]; then
    # The server ends every process of its prefix and then itself; it is ended by its PID
    # when it has not after a minute.
    WINEPREFIX="${wine_prefix_dir[$arch]}" timeout 60 wineserver -k >/dev/null 2>&1 || true
    if ! wine_wait_gone "$server" 60; then
      say "the wineserver of the $arch prefix (PID $server) did not end; killed"
      kill -KILL "$server" 2>/dev/null || true
    fi
    wait "$server" 2>/dev/null || true
    wine_server_pid[$arch]=""
  fi
  if [ -n "$display" ]; then
    kill "$display" 2>/dev/null || true
    wait "$display" 2>/dev/null || true
    wine_display_pid[$arch]=""
  fi
}

wine_stop_all() {
  local arch
  for arch in "${!wine_server_pid[@]}" "${!wine_display_pid[@]}"; do
    wine_stop "$arch"
  done
}
