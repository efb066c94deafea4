#!/bin/bash
# CI's install check: installs the build into a temporary DESTDIR under a prefix with a space and a
# non-ASCII letter, validates the desktop entry, the AppStream file and the DEB, then starts the
# installed game from an unrelated read-only folder under Xvfb: the title window appears, F10 puts a
# screenshot into the data folder, Escape ends the game with exit code 0. BUILD_DIR defaults to build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
prefix="/opt/Brush feather ü"

work=$(mktemp -d)
xvfb=""
game=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "install check FAILED: $*" >&2
  if [ -f "$work/game.log" ]; then
    echo "--- the game's standard error:" >&2
    cat "$work/game.log" >&2
  fi
  exit 1
}
chmod 755 "$work"

echo "-- installing into DESTDIR $work/root, prefix $prefix"
DESTDIR="$work/root" cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install"
root="$work/root$prefix"
for f in bin/brushfeather share/brushfeather/ctrls.dll share/brushfeather/map1.map \
         share/icons/hicolor/16x16/apps/com.brackweninteractive.Brushfeather.png \
         share/icons/hicolor/256x256/apps/com.brackweninteractive.Brushfeather.png \
         share/man/man6/brushfeather.6.gz share/brushfeather/screenshots/hunt.png; do
  [ -f "$root/$f" ] || fail "missing $f"
done
desktop="$root/share/applications/com.brackweninteractive.Brushfeather.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qF "Exec=\"$prefix/bin/brushfeather\"" "$desktop" || fail "the desktop entry does not name the installed program"
appstreamcli validate --no-net "$root/share/metainfo/com.brackweninteractive.Brushfeather.metainfo.xml" \
  || fail "appstreamcli validate"
"$root/bin/brushfeather" --version | grep -q '^brushfeather [0-9]' || fail "--version"
"$root/bin/brushfeather" --help | grep -q '^Usage: brushfeather' || fail "--help"

echo "-- the DEB"
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/deb/brushfeather_*.deb)
lintian --fail-on error "$deb" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"

echo "-- the installed game from a read-only folder under Xvfb"
mkdir -p "$work/elsewhere" "$work/home"
chmod 555 "$work/elsewhere"
run=()
if [ "$(id -u)" -eq 0 ]; then
  # Root writes anywhere: the game runs as nobody, so the folder is read-only for it too.
  chown nobody "$work/home"
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
Xvfb -displayfd 3 -screen 0 1280x1024x24 -ac -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
(cd "$work/elsewhere" && exec env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME="$work/home" \
   XDG_DATA_HOME="$work/home/data" BRUSHFEATHER_WINDOWED=1 SDL_AUDIODRIVER=dummy "${run[@]}" \
   "$root/bin/brushfeather") 2>"$work/game.log" &
game=$!
window=$(timeout 30 xdotool search --sync --name '^Brushfeather$' | head -n1) || fail "no window named Brushfeather"
shots="$work/home/data/Brackwen Interactive/brushfeather/screenshots"
# The title comes about a second after the window; F10 until the shot is there.
for _ in $(seq 40); do
  timeout 5 xdotool windowfocus --sync "$window" key F10 2>/dev/null || true
  [ -f "$shots/scnshot.bmp" ] && break
  sleep 0.5
done
[ -f "$shots/scnshot.bmp" ] || fail "F10 wrote no screenshot into $shots"
[ "$(stat -c %s "$shots/scnshot.bmp")" -eq 308278 ] || fail "the screenshot is not 308278 bytes"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the folder it was started from"
if [ "${#run[@]}" -gt 0 ]; then
  [ "$(stat -c %U "$shots/scnshot.bmp")" = nobody ] || fail "the game did not run as nobody"
fi
status=0
for i in $(seq 100); do
  kill -0 "$game" 2>/dev/null || break
  # Escape in the main menu ends the game; asked again each second in case a key went astray.
  if [ $((i % 5)) -eq 1 ]; then timeout 5 xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true; fi
  sleep 0.2
done
kill -0 "$game" 2>/dev/null && fail "Escape did not end the game"
wait "$game" || status=$?
game=""
[ "$status" -eq 0 ] || fail "the game ended with exit code $status"
echo "install check passed"
