#!/usr/bin/env bash
# Checks a built numbrook .deb: its control fields, that every file a Linux
# desktop expects is in it, and what desktop-file-validate, appstreamcli and
# lintian say of it (each when installed). Exits non-zero on the first fault.
set -euo pipefail
package=${1:?usage: check_package.sh numbrook_VERSION_amd64.deb}
app_id=org.example.Numbrook
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$package" "$contents"

field() { dpkg-deb -f "$package" "$1"; }
[ "$(basename "$package")" = "numbrook_$(field Version)_amd64.deb" ] || fail "file name $(basename "$package")"
[ "$(field Section)" = education ] && pass "section education" || fail "section is '$(field Section)'"
[ -n "$(field Maintainer)" ] && pass "maintainer $(field Maintainer)" || fail "no maintainer"
[ "$(field Description | wc -l)" -ge 3 ] && pass "short and long description" || fail "no long description"
depends=$(field Depends)
for needed in libqt6widgets6 libcurl4 libxlsxwriter libcairo2 libpangocairo-1.0-0 fonts-noto-cjk xdg-utils qt6-translations-l10n; do
  [[ $depends == *"$needed"* ]] && pass "depends on $needed" || fail "Depends lacks $needed: $depends"
done

expected=(
  usr/bin/numbrook
  usr/bin/numbrook-sheet
  usr/lib/x86_64-linux-gnu/numbrook/numbrook-pdf.so
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  usr/share/man/man1/numbrook.1.gz
  usr/share/man/man1/numbrook-sheet.1.gz
  usr/share/doc/numbrook/copyright
  usr/share/doc/numbrook/changelog.gz
)
for size in 16 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"); done
for file in "${expected[@]}"; do
  [ -s "$contents/$file" ] && pass "$file" || fail "missing $file"
done
[ -x "$contents/usr/bin/numbrook" ] && [ -x "$contents/usr/bin/numbrook-sheet" ] || fail "programs not executable"
# The PDF writer is loaded from the library folder beside the programs' own.
module_needs=$(objdump -p "$contents/usr/lib/x86_64-linux-gnu/numbrook/numbrook-pdf.so" | sed -n 's/^ *NEEDED *//p')
[[ $module_needs == *libpangocairo* ]] && pass "the PDF module links pango and cairo" ||
  fail "the PDF module does not link pangocairo: $module_needs"
sheet_needs=$(objdump -p "$contents/usr/bin/numbrook-sheet" | sed -n 's/^ *NEEDED *//p')
[[ $sheet_needs != *pango* && $sheet_needs != *cairo* ]] && pass "numbrook-sheet starts without pango and cairo" ||
  fail "numbrook-sheet links the PDF libraries: $sheet_needs"

grep -qx "Icon=$app_id" "$contents/usr/share/applications/$app_id.desktop" || fail "desktop entry's icon is not $app_id"
grep -q "<id>$app_id</id>" "$contents/usr/share/metainfo/$app_id.metainfo.xml" || fail "metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
  "$contents/usr/share/metainfo/$app_id.metainfo.xml" || fail "metainfo does not launch $app_id.desktop"

# The copyright file is machine-readable (DEP-5) and carries LICENSE's terms.
copyright="$contents/usr/share/doc/numbrook/copyright"
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in the machine-readable format"
licence_paragraph=$(sed -n '/^License: Expat$/,$p' "$copyright" | tail -n +2 | sed -n 's/^ //p' | sed 's/^\.$//')
licence_terms=$(sed -n '/^Permission is hereby granted/,$p' "$(dirname "$0")/../../LICENSE")
[ "$licence_paragraph" = "$licence_terms" ] && pass "copyright carries the MIT terms" ||
  fail "copyright's licence paragraph is not LICENSE's terms"

# Each page reads cleanly with no locale (ASCII) and with C.UTF-8: man's own
# warnings (bad requests, unknown fonts, characters it drops) fail the page,
# every line of an example shows whole, and nothing is wider than 80 columns.
for page in numbrook numbrook-sheet; do
  source_page="$contents/usr/share/man/man1/$page.1.gz"
  for locale in "" C.UTF-8; do
    shown=$(mktemp)
    warnings=$(env -i PATH="$PATH" ${locale:+LC_ALL=$locale} MANWIDTH=80 \
               man --warnings -l "$source_page" 2>&1 >"$shown" || true)
    [ -z "$warnings" ] && pass "man page $page reads cleanly (${locale:-no locale})" ||
      fail "man $page (${locale:-no locale}): $warnings"
    while IFS= read -r example_line; do
      grep -qF -- "$example_line" "$shown" || fail "man $page (${locale:-no locale}) breaks the example line: $example_line"
    done < <(zcat "$source_page" | sed -n '/^\.EX$/,/^\.EE$/{/^\./d;s/\\f[BIRP]//g;s/\\-/-/g;s/\\e/\\/g;s/^ *//;p}')
    width=$(LC_ALL=C.UTF-8 wc -L <"$shown")
    [ "$width" -le 80 ] || fail "man $page (${locale:-no locale}) is $width columns wide"
    rm -f "$shown"
  done
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$contents/usr/share/applications/$app_id.desktop" && pass "desktop-file-validate" ||
    fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$contents/usr/share/metainfo/$app_id.metainfo.xml" && pass "appstreamcli validate" ||
    fail "appstreamcli validate"
fi
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning --allow-root "$package" && pass "lintian: no errors or warnings" ||
    fail "lintian reports errors or warnings"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "the package is complete"
