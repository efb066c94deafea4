#!/bin/sh
# Makes the README's pictures with the replay driver: the help page and two moments of the whole hunt.
# Run it from the source folder after the game is built (sh scripts/test.sh or sh scripts/play.sh).
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd "$here/build/bin"
./brushfeather-replay "$here/tests/scenarios/whole_hunt.txt" --out "$out" >/dev/null
./brushfeather-replay "$here/docs/help_page.txt" --out "$out" >/dev/null
cp "$out/help_page.png" "$out/bird_coming.png" "$out/on_the_bird.png" "$here/docs/"
