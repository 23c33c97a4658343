# Shell functions the demo and screenshot scripts share (source this file):
# a private Xvfb screen, a fresh Wine prefix set up like a Japanese desktop,
# and steps at SETUP.exe's windows through ui_step.

source "$ROOT/scripts/lib/screen.sh"

# fresh_prefix DIR: a new Wine prefix in DIR (any old one is removed), where
# the Japanese proportional gothic face the updater asks for is substituted
# by the IPA one, as Windows substitutes a missing face, and the system's
# UI faces link to it for Japanese glyphs (so that title bars show Japanese
# under a Western LANG too, as Windows' font linking does). Wine's own
# Marlett (the title bar's button glyphs) goes into the prefix's font
# folder, where this Wine finds it.
fresh_prefix() {
  WINEPREFIX=$1 /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$1" "$1.lock"
  export WINEPREFIX=$1
  wine_run reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null
  local face
  for face in Tahoma 'MS Shell Dlg' 'Microsoft Sans Serif'; do
    wine_run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null
  done
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$1/drive_c/windows/Fonts/"
  fi
}

# wine_run PROGRAM [ARGS...]: runs a Windows program in $WINEPREFIX.
wine_run() { "$ROOT/scripts/wine-run" "$WINEPREFIX" "$@"; }

# end_wine: ends the prefix's Wine session (its programs and wineserver).
end_wine() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
}

# set_game_dir 'C:\Games\OVAK\': the value the game's installer leaves.
set_game_dir() {
  wine_run reg add 'HKCU\Software\KARVOS\OVAK' /v GameDir /d "$1" /f >/dev/null
}

# shot FILE [WxH+X+Y]: the screen, or that part of it, as a PNG.
shot() {
  if [ -n "${2:-}" ]; then import -window root -crop "$2" +repage "$1"; else import -window root "$1"; fi
}
