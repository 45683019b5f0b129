#!/bin/sh
# The Debian package: built by CPack, clean for lintian, and its program runs once unpacked.
# Usage: package_test.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log"; exit 1; }
deb="$scratch/out/gravix_0.5a_amd64.deb"
test -f "$deb"

dpkg-deb -f "$deb" Depends | grep -q 'libc6'
dpkg-deb -c "$deb" | grep -q './usr/share/man/man1/gravix.1.gz'
dpkg-deb -c "$deb" | grep -q './usr/share/doc/gravix/copyright'
dpkg-deb -c "$deb" | grep -q './usr/share/doc/gravix/changelog.gz'
dpkg-deb -c "$deb" | grep -q './usr/share/doc/gravix/README.md.gz'

if command -v lintian >/dev/null; then
  # lintian leaves its own scratch files in TMPDIR: keep them in ours.
  export TMPDIR="$scratch"
  lintian --fail-on error,warning "$deb" 2>&1 | grep -v 'root privileges' || true
  lintian --fail-on error,warning "$deb" >/dev/null 2>&1
else
  echo "lintian missing: package not checked by lintian"
fi

dpkg -x "$deb" "$scratch/root"
status=0
"$scratch/root/usr/bin/gravix" </dev/null >"$scratch/help.txt" 2>&1 || status=$?
test "$status" = 0
grep -q 'Uso:     GRAVIX fichero' "$scratch/help.txt"
echo "package: gravix_0.5a_amd64.deb built, lintian clean, help end runs"
