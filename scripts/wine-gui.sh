# Shell functions for running Windows programs with windows under Wine, sourced by
# scripts/test.sh and scripts/screenshots.sh. The caller exports WINEPREFIX.

# Starts an X server of our own on a free display (Xvfb chooses it) and exports DISPLAY;
# never touches the user's display. Sets private_xvfb_pid. False when Xvfb fails.
start_private_display() {
  local log=${1:-/dev/null} display_fd display
  exec {display_fd}<> <(:)
  Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
  private_xvfb_pid=$!
  if ! read -r -t 20 display <&"$display_fd"; then
    kill "$private_xvfb_pid" 2>/dev/null
    private_xvfb_pid=
    return 1
  fi
  exec {display_fd}<&-
  export DISPLAY=":$display"
}

stop_private_display() {
  if [ -n "${private_xvfb_pid:-}" ]; then
    kill "$private_xvfb_pid" 2>/dev/null
    wait "$private_xvfb_pid" 2>/dev/null
  fi
  private_xvfb_pid=
}

# Makes the prefix ready for windowed programs:
# - Wine's own fonts (Tahoma, Marlett; Debian's fonts-wine) in the prefix's font folder,
#   where Wine finds them; without them windows fall back to DejaVu and captions lose
#   their button glyphs.
# - gui_tests.exe runs its windows unmanaged: with no window manager on the X server,
#   Wine would otherwise wait two seconds for one at every window it hides or destroys.
# Waits first for the prefix's Wine server to end, so that the next programs start one
# on the display exported now.
prepare_wine_gui_prefix() {
  wineserver -w 2>/dev/null || true
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/tahoma.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/*.ttf "$fonts/"
  fi
  if ! grep -q 'AppDefaults\\\\gui_tests.exe\\\\X11 Driver' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\AppDefaults\gui_tests.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
  fi
}
