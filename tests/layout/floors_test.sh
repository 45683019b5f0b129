#!/bin/sh
# The folders of src/ are floors: a file includes only its own folder and the floors below it,
# so the program's top is never reached from below and no two folders lean on each other.
# Usage: floors_test.sh SOURCE_DIR
set -eu
floors="platform console input files banner listing typo_finder tape editor batch program"
cd "$1/src"
floor_of() {
  n=0
  for f in $floors; do
    [ "$f" = "$1" ] && { echo $n; return; }
    n=$((n + 1))
  done
  echo "unknown"
}
status=0
for folder in */; do
  folder=${folder%/}
  [ "$(floor_of "$folder")" = unknown ] && { echo "src/$folder is on no floor"; status=1; }
done
for file in $(find . -name '*.h' -o -name '*.cc'); do
  own=$(echo "$file" | cut -d/ -f2)
  for used in $(sed -n 's|^#include "\([a-z_]*\)/.*|\1|p' "$file" | sort -u); do
    [ "$used" = "$own" ] && continue
    if [ "$(floor_of "$used")" = unknown ] || [ "$(floor_of "$used")" -ge "$(floor_of "$own")" ]; then
      echo "src/${file#./} includes $used/, which is not below $own/"
      status=1
    fi
  done
done
exit $status
