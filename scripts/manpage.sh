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

# The lines of a help text's section that follows the line HEADING.
section() { awk -v heading="$1" '$0 == heading {inside = 1; next} inside && /^[^ ]/ {exit} inside && NF'; }

program_help=$("$gaugery" help)
commands=$(section "Commands:" <<<"$program_help" | awk '{print $1}')

cat <<HEAD
.TH GAUGERY 1 "" "gaugery $version" "User Commands"
.SH NAME
gaugery \\- $(sed -n 3p <<<"$program_help" | sed 's/\.$//' | sed 's/^./\L&/' | roff)
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
  sed -n '3p' <<<"$help" | roff
  details=$(sed -n '5,$p' <<<"$help")
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
