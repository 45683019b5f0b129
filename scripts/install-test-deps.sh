#!/bin/sh
# Installs the Debian packages the tests need, only those that are missing.
set -e
packages="cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libvterm-dev
  g++-mingw-w64-x86-64 wine wine64 clang libclang-rt-14-dev fuse-emulator-utils pasmo lintian
  valgrind locales file dpkg-dev fuse-emulator-sdl opense-basic libtesseract-dev
  libleptonica-dev tesseract-ocr-eng python3-pil python3-numpy fonts-dejavu-core fonts-liberation
  fonts-freefont-ttf"
missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q $missing
