#!/bin/sh
# Installs the Debian packages the build, the game and the tests need; quiet when all are present.
set -e
PACKAGES="cmake ninja-build g++ clang pkg-config libsdl2-dev libpng-dev zlib1g-dev libcairo2-dev \
libfreetype-dev libfontconfig-dev libspeexdsp-dev fonts-liberation googletest libgtest-dev libbenchmark-dev \
xvfb xfonts-base xdotool sox icoutils"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
