#!/bin/sh
# Builds Brushfeather (installing what it needs) and starts the game from its folder.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target brushfeather
cd build/bin
exec ./brushfeather
