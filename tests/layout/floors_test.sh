#!/bin/sh
# The folders of src/ are floors: a file includes only its own folder and the floors below it,
# so the program's top is never reached from below and no two folders lean on each other.
# Usage: floors_test.sh SOURCE_DIR
set -eu
floors="platform console input files banner listing typo_finder scan tape editor batch program"
cd "$1/src"
floor_of() {  # its place from 1, or 0 for a folder on no floor
  echo "$floors" | tr ' ' '\n' | grep -nx "$1" | cut -d: -f1 | grep . || echo 0
}
status=0
for folder in */; do
  [ "$(floor_of "${folder%/}")" = 0 ] && { echo "src/$folder is on no floor"; status=1; }
done
for file in $(find . -name '*.h' -o -name '*.cc'); do
  own=$(echo "$file" | cut -d/ -f2)
  for used in $(sed -n 's|^#include "\([a-z_]*\)/.*|\1|p' "$file" | sort -u); do
    below=$(floor_of "$used")
    if [ "$used" != "$own" ] && { [ "$below" = 0 ] || [ "$below" -ge "$(floor_of "$own")" ]; }; then
      echo "src/${file#./} includes $used/, which is not below $own/"
      status=1
    fi
  done
done
exit $status
