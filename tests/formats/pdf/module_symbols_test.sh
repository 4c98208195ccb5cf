#!/bin/sh
# Fails when numbrook-pdf.so defines code of the layers below the PDF writer
# (a second signal clean-up registry, a second error type) instead of using
# the loading program's, or when it does not use the program's at all.
set -eu
module=${1:?usage: module_symbols_test.sh numbrook-pdf.so}
defined=$(nm -D -C --defined-only "$module" | grep ' numbrook::' || true)
# Strong definitions only: inline functions of the headers come weak (W, V)
# and bind to the program's copy.
foreign=$(printf '%s\n' "$defined" | grep -E ' [TDBR] ' |
  grep -vE 'numbrook::(Pdf[A-Za-z]*|PlanPdfPages|PrintedSign|SimplifiedChineseFamily)\b' || true)
status=0
if [ -n "$foreign" ]; then
  echo "the module defines code of the layers below it:"
  printf '%s\n' "$foreign"
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
