# Sourced by the scripts: the sandboxed Wine prefix that tests, benchmarks and people share.
#
# Everything lives under $SANDBOX (build/sandbox unless set): a HOME of its own (the Wine
# profile's Desktop, Documents and Recycle Bin live below HOME), the Wine prefix, and the
# virtual display. No drive letter of the prefix may map to the Linux root.

ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
BUILD_ROOT=${BUILD_ROOT:-$ROOT/build}
SANDBOX=${SANDBOX:-$BUILD_ROOT/sandbox}

sandbox_env() {
  export HOME="$SANDBOX/home"
  export WINEPREFIX="$SANDBOX/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  export XDG_DATA_HOME="$HOME/.local/share"
  export XDG_CONFIG_HOME="$HOME/.config"
  export XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$SANDBOX/run"
  unset XDG_DATA_DIRS
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  sandbox_wine_fixed_layout
}

# Wine here has no preloader: with the address space randomised, a start fails now and then
# (3 of 16,000 measured), at once and printing nothing under WINEDEBUG=-all ("failed to map the
# shared user data: c0000018" with err+all), so a test or a window-tool call failed by chance.
# Every wine of the sandbox (and so every process it starts) runs with the layout fixed, through
# a shim first in PATH: none of 24,000 starts failed.
sandbox_wine_fixed_layout() {
  local shim="$SANDBOX/bin" name dir real IFS=:
  mkdir -p "$shim"
  for name in wine wine-stable; do
    real=
    for dir in $PATH; do
      [ "$dir" != "$shim" ] && [ -x "$dir/$name" ] && { real="$dir/$name"; break; }
    done
    [ -n "$real" ] || continue
    printf '#!/bin/sh\nexec setarch "$(uname -m)" -R "%s" "$@"\n' "$real" >"$shim/$name"
    chmod +x "$shim/$name"
  done
  case ":$PATH:" in
    *":$shim:"*) ;;
    *) export PATH="$shim:$PATH" ;;
  esac
}

# Removes every drive letter that maps to / (a new prefix maps Z: there) and fails if one is
# left: a drive scan must never reach the Linux file system.
sandbox_unmap_root() {
  local d target
  for d in "$WINEPREFIX"/dosdevices/*; do
    [ -L "$d" ] || continue
    case "$(basename "$d")" in
      [a-z]:) ;;
      *) continue ;;
    esac
    target=$(readlink -f "$d" 2>/dev/null || true)
    if [ "$target" = "/" ]; then
      rm -f "$d"
    fi
  done
  for d in "$WINEPREFIX"/dosdevices/[a-z]:; do
    [ -e "$d" ] || continue
    if [ "$(readlink -f "$d")" = "/" ]; then
      echo "sandbox: drive $(basename "$d") still maps to /" >&2
      return 1
    fi
  done
}

sandbox_display() {
  # A person's own display serves scripts/run; tests always get a private one.
  if [ -n "${DISPLAY:-}" ] && [ -z "${SANDBOX_PRIVATE_DISPLAY:-}" ]; then
    return 0
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! >"$SANDBOX/xvfb.pid"
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.1
    done
    echo "sandbox: Xvfb did not start on :$n" >&2
    return 1
  done
  echo "sandbox: no free display number" >&2
  return 1
}

# Brings the sandbox up: the prefix (made once), no drive on /, a persistent wineserver and
# the prefix's services started with their standard streams closed (otherwise anything that
# reads a test's output to its end waits on them forever), and a display.
sandbox_up() {
  sandbox_env
  mkdir -p "$SANDBOX"
  sandbox_display
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "sandbox: making the Wine prefix in $WINEPREFIX" >&2
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  sandbox_unmap_root
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1
  sandbox_unmap_root
  sandbox_hold_desktop
  # A virtual display has no window manager, and Wine waits up to two seconds for one on each
  # top-level window it hides or destroys; unmanaged windows skip that wait.
  local managed=Y
  [ -f "$SANDBOX/xvfb.pid" ] && managed=N
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f \
    </dev/null >/dev/null 2>&1 || true
  export GLENVASK_SANDBOX_UP=1
}

# The desktop process (explorer.exe /desktop) is started by the first program that needs a
# window and inherits that program's standard streams; it ends only a few seconds after the
# last program of the prefix. A test whose output CTest reads then waits for the desktop, and
# while other tests keep starting, it waits until its time-out (seen: a 2 ms test timed out at
# 120 s). So the desktop is started here with its streams closed and kept up for the whole
# sandbox by an idle console program (cmd's pause on a pipe that is never written).
sandbox_hold_desktop() {
  local fifo="$SANDBOX/desktop-hold"
  if [ -f "$SANDBOX/hold.pid" ]; then kill "$(cat "$SANDBOX/hold.pid")" 2>/dev/null || true; fi
  rm -f "$fifo"
  mkfifo "$fifo"
  wine cmd.exe /c pause <"$fifo" >/dev/null 2>&1 &
  sleep infinity >"$fifo" 2>/dev/null </dev/null &
  echo $! >"$SANDBOX/hold.pid"
  wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
}

# Ends the prefix's processes and the display this sandbox started.
sandbox_down() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k </dev/null >/dev/null 2>&1 || true
  fi
  if [ -f "$SANDBOX/hold.pid" ]; then
    kill "$(cat "$SANDBOX/hold.pid")" 2>/dev/null || true
    rm -f "$SANDBOX/hold.pid" "$SANDBOX/desktop-hold"
  fi
  if [ -f "$SANDBOX/xvfb.pid" ]; then
    kill "$(cat "$SANDBOX/xvfb.pid")" 2>/dev/null || true
    rm -f "$SANDBOX/xvfb.pid"
  fi
}

# Copies the program and the files it ships into C:\Program Files\Glenvask of the prefix (the
# build folder is on no drive of the prefix). Settings and lists made there are kept.
sandbox_install_app() {
  local dest="$WINEPREFIX/drive_c/Program Files/Glenvask"
  mkdir -p "$dest"
  cp -f "$BUILD_ROOT/win/glenvask.exe" "$dest/"
  cp -Rf "$ROOT"/dist/. "$dest/"
  echo "C:\\Program Files\\Glenvask\\glenvask.exe"
}
