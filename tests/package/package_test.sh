#!/bin/sh
# The Debian package: built by CPack, clean for lintian, and its program runs once unpacked.
# Usage: package_test.sh BUILD_DIR VERSION
set -eu
build=$(cd "$1" && pwd)
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; exit 1; }
deb="$scratch/out/gravix_${version}_amd64.deb"

if command -v lintian >/dev/null; then
  # lintian leaves its own scratch files in TMPDIR: keep them in ours.
  TMPDIR="$scratch" lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1 ||
    { grep -v 'root privileges' "$scratch/lintian.log"; exit 1; }
else
  echo "lintian missing: package not checked by lintian"
fi

dpkg -x "$deb" "$scratch/root"
"$scratch/root/usr/bin/gravix" </dev/null >"$scratch/help.txt" 2>&1
grep -q 'Uso:     GRAVIX fichero' "$scratch/help.txt"
echo "package: gravix_${version}_amd64.deb built, lintian clean, help end runs"
