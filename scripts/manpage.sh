#!/usr/bin/env bash
# Writes the manual page gaugery(1) from the program's own help texts, so that the
# page and `gaugery help` cannot say different things.
#
#   scripts/manpage.sh GAUGERY_BINARY VERSION > gaugery.1
set -euo pipefail
gaugery=$1
version=$2

# Escapes text for roff: backslashes, and a leading dot or quote that would read as a request.
roff() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/" -e 's/-/\\-/g'; }

# The lines from line FIRST to the next empty line, joined into one.
paragraph() { awk -v first="$1" 'NR >= first && !NF {exit} NR >= first {printf "%s%s", sep, $0; sep = " "}'; }

# The line number after the paragraph that starts at line FIRST (and its empty line).
after_paragraph() { awk -v first="$1" 'NR >= first && !NF {print NR + 1; exit}'; }

# The lines of a help text's section that follows the line HEADING.
section() { awk -v heading="$1" '$0 == heading {inside = 1; next} inside && /^[^ ]/ {exit} inside && NF'; }

program_help=$("$gaugery" help)
# A command's line starts with two blanks and its name; wrapped summaries are indented more.
commands=$(section "Commands:" <<<"$program_help" | awk '/^  [a-z]/ {print $1}')

cat <<HEAD
.TH GAUGERY 1 "" "gaugery $version" "User Commands"
.SH NAME
gaugery \\- $(paragraph 3 <<<"$program_help" | sed 's/\.$//' | sed 's/^./\L&/' | roff)
.SH SYNOPSIS
.nf
$(sed -n '1s/^usage: //p' <<<"$program_help" | roff)
.fi
.SH OPTIONS
.nf
$(section "Options:" <<<"$program_help" | roff)
.fi
.SH COMMANDS
HEAD
for command in $commands; do
  help=$("$gaugery" help "$command")
  echo ".SS $command"
  echo ".nf"
  sed -n '1s/^usage: //p' <<<"$help" | roff
  echo ".fi"
  echo ".PP"
  paragraph 3 <<<"$help" | roff
  echo
  details=$(sed -n "$(after_paragraph 3 <<<"$help"),\$p" <<<"$help")
  if [ -n "$details" ]; then
    echo ".PP"
    echo ".nf"
    roff <<<"$details"
    echo ".fi"
  fi
done
cat <<TAIL
.SH EXIT STATUS
0 on success, 1 with the error's message on standard error, 2 on wrong usage.
.SH SEE ALSO
The README of the package (/usr/share/doc/gaugery).
TAIL
