#!/usr/bin/env bash
# The manual page as written from the built program: it formats without warnings, each
# command's synopsis is whole and its description a filled paragraph, no option text
# falls out of its entry, and SEE ALSO names where the packages put the README.
#
#   tests/tools/manpage-test.sh MANPAGE_SCRIPT GAUGERY_BINARY
set -uo pipefail
page=$(mktemp)
trap 'rm -f "$page"' EXIT
"$1" "$2" 1.0.0 /usr/share/doc/Gaugery >"$page" || { echo "FAIL: the script failed"; exit 1; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

warnings=$(groff -man -ww -z "$page" 2>&1)
[ -z "$warnings" ] || fail "groff warns: $warnings"

# Every command: .SS, .nf, its synopsis, .fi, .PP, one line of description, then
# options as tagged paragraphs only.
awk '
  /^\.SS / {command = $2; state = "nf"; next}
  command == "" {next}
  /^\.SH / {command = ""; next}
  state == "nf" {if ($0 != ".nf") {print command ": no .nf after .SS"}; state = "synopsis"; next}
  state == "synopsis" {if ($0 == ".fi") state = "pp"; else synopsis[command] = synopsis[command] $0 " "; next}
  state == "pp" {if ($0 != ".PP") print command ": no .PP after the synopsis"; state = "text"; next}
  state == "text" {if ($0 == "" || $0 ~ /^\./) print command ": no description"; state = "options"; next}
  state == "options" && $0 == ".TP" {state = "tag"; next}
  state == "tag" {if ($0 !~ /^\.B \\-/) print command ": an entry without its option: " $0; state = "entry"; next}
  state == "entry" {state = "options"; next}
  state == "options" {print command ": text outside the option entries: " $0}
  END {if (synopsis["watch"] !~ /PATH\.\.\./) print "watch: the synopsis lacks its second line"}
' "$page" | while IFS= read -r problem; do echo "FAIL: $problem"; done | tee /dev/stderr | grep -q . &&
  failures=$((failures + 1))

grep -q '^The README of the package (/usr/share/doc/Gaugery)\.$' "$page" ||
  fail "SEE ALSO does not name /usr/share/doc/Gaugery"

if [ "$failures" -gt 0 ]; then
  echo "manpage: $failures failed"
  exit 1
fi
echo "manpage: all good"
