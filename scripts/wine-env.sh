#!/bin/bash
# Sourced with the Windows build folder as its argument, on a display: sets up Wine for running
# the Windows build (a prefix of its own in the build folder, no debug output, no sound drivers,
# no crash dialog) and starts its server, so that programs and CTest do not wait on Wine's
# background start-up. The first start of a new prefix takes 8-16 s, later ones 1-2 s.
export WINEPREFIX="$(cd "$1" && pwd)/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,mscoree,mshtml=d"
# The server first, kept up between programs; wineboot then fills a new prefix (or checks it).
mkdir -p "$WINEPREFIX"
wineserver -p
timeout -k 3 120 wine wineboot -i >/dev/null 2>&1
if [ ! -f "$WINEPREFIX/.glgui-ready" ]; then
  # A crashing program must end, not wait for someone to close winedbg's dialog.
  timeout -k 3 30 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
  # The same font files the Linux build uses, and "Comic Sans MS" read as Comic Neue as there.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  for f in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
           /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf; do
    if [ -f "$f" ]; then cp "$f" "$fonts/"; fi
  done
  timeout -k 3 30 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Comic Sans MS" /t REG_SZ /d "Comic Neue" /f >/dev/null
  touch "$WINEPREFIX/.glgui-ready"
fi
