#!/bin/sh
# The folders of src/ are floors: a file includes only its own folder and the floors below it,
# so the program's top is never reached from below and no two folders lean on each other. The
# data floors read, check, store and write: they neither draw nor ask. Only the program's top
# and the console bindings' own ends finish the process.
# Usage: floors_test.sh SOURCE_DIR
set -eu
floors="platform console input files banner listing typo_finder scan tape dialogues editor batch program"
data_floors="listing typo_finder scan tape"
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
    if echo " $data_floors " | grep -q " $own " && echo " console input banner " | grep -q " $used "; then
      echo "src/${file#./} is on a data floor but includes $used/"
      status=1
    fi
  done
done
enders=$(grep -rlE '\b(exit|_exit|_Exit|abort|raise|ExitProcess)\(' --include='*.cc' --include='*.h' . |
  grep -vE '^\./(console/(linux|windows)/|program/main\.cc$)' || true)
for file in $enders; do
  echo "src/${file#./} ends the process below the program's top"
  status=1
done
exit $status
