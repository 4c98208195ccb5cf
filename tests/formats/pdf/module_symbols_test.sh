#!/bin/sh
# Fails when numbrook-pdf.so defines code that the loading program also
# exports (a second signal clean-up registry, a second error type, a second
# copy of a sheet rule) instead of using the program's, or when it does not
# use the program's at all.
set -eu
module=${1:?usage: module_symbols_test.sh numbrook-pdf.so numbrook-sheet}
program=${2:?usage: module_symbols_test.sh numbrook-pdf.so numbrook-sheet}
# Strong definitions only: inline functions of the headers come weak (W, V)
# and bind to the program's copy.
strong() { nm -D -C --defined-only "$1" | grep -E ' [TDBR] numbrook::' | sed 's/^[0-9a-f]* [TDBR] //' | sort -u; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
strong "$module" >"$tmp/module"
strong "$program" >"$tmp/program"
status=0
if [ ! -s "$tmp/program" ]; then
  echo "the program exports none of its layers for the module"
  status=1
fi
twice=$(comm -12 "$tmp/module" "$tmp/program")
if [ -n "$twice" ]; then
  echo "the module defines code the program has already:"
  printf '%s\n' "$twice"
  status=1
fi
undefined=$(nm -D -C --undefined-only "$module")
for used in 'typeinfo for numbrook::ExportError' 'numbrook::PendingFile::PendingFile' 'numbrook::WriteSheet'; do
  if ! printf '%s\n' "$undefined" | grep -qF "$used"; then
    echo "the module does not take $used from the program"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "numbrook-pdf.so holds the PDF writer alone"
exit "$status"
