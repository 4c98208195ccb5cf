#!/bin/sh
# Fails when libxlsxwriter's gmtime() binds to the C library's, whose one
# static result a class set's workers would share, instead of the
# program's own per-thread one; or when a program does not export one.
set -eu
sheet=${1:?usage: per_thread_gmtime_test.sh numbrook-sheet [numbrook]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && LD_DEBUG=bindings LD_DEBUG_OUTPUT="$work/bindings" "$sheet" --count=1 -o sheet.XLS >/dev/null)
binding=$(grep -h "libxlsxwriter.* normal symbol \`gmtime'" "$work"/bindings.* || true)
case $binding in
  *"to $sheet "*) echo "libxlsxwriter's gmtime is numbrook-sheet's" ;;
  *) echo "libxlsxwriter's gmtime binds elsewhere: ${binding:-not at all}"; exit 1 ;;
esac
for program in "$@"; do
  [ -n "$program" ] || continue
  nm -D --defined-only "$program" | grep -q ' T gmtime$' || { echo "$program does not export its gmtime"; exit 1; }
done
