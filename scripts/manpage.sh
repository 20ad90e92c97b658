#!/usr/bin/env bash
# Writes the manual page gaugery(1) from the program's own help texts, so that the
# page and `gaugery help` cannot say different things.
#
#   scripts/manpage.sh GAUGERY_BINARY VERSION DOC_DIR > gaugery.1
#
# DOC_DIR is the folder the packages install the README into.
set -euo pipefail
gaugery=$1
version=$2
doc_dir=$3

# Escapes text for roff: backslashes, and a leading dot or quote that would read as a request.
roff() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/" -e 's/-/\\-/g'; }

# Paragraph NUMBER (from 1) of a text whose paragraphs end at empty lines.
paragraph() { awk -v number="$1" '!NF {n++; next} n + 1 == number'; }

# The paragraphs from NUMBER on.
paragraphs_from() { awk -v number="$1" '!NF {n++} n + 1 >= number'; }

# The lines of a help text's section that follows the line HEADING.
section() { awk -v heading="$1" '$0 == heading {inside = 1; next} inside && /^[^ ]/ {exit} inside && NF'; }

# A usage paragraph without its "usage: ", continued lines under the program's name.
synopsis() { sed -e '1s/^usage: //' -e '2,$s/^       //' | roff; }

# Lines joined into one, for roff to fill.
filled() { awk 'NF {sub(/^ +/, ""); printf "%s%s", sep, $0; sep = " "} END {print ""}' | roff; }

# Option lines ("  --name VALUE  what it does", continued further in) as tagged
# paragraphs: the option in bold, its description filled.
options() {
  roff | awk '
    /^  \\-/ {
      if (text != "") print text
      line = substr($0, 3)
      gap = index(line, "  ")
      option = gap ? substr(line, 1, gap - 1) : line
      text = gap ? substr(line, gap) : ""
      sub(/^ +/, "", text)
      print ".TP"
      print ".B " option
      next
    }
    NF {sub(/^ +/, ""); text = text (text == "" ? "" : " ") $0}
    END {if (text != "") print text}'
}

program_help=$("$gaugery" help)
# A command's line starts with two blanks and its name; wrapped summaries are indented more.
commands=$(section "Commands:" <<<"$program_help" | awk '/^  [a-z]/ {print $1}')

cat <<HEAD
.TH GAUGERY 1 "" "gaugery $version" "User Commands"
.SH NAME
gaugery \\- $(paragraph 2 <<<"$program_help" | filled | sed -e 's/\.$//' -e 's/^./\L&/')
.SH SYNOPSIS
.nf
$(paragraph 1 <<<"$program_help" | synopsis)
.fi
.SH OPTIONS
$(section "Options:" <<<"$program_help" | options)
.SH COMMANDS
HEAD
for command in $commands; do
  help=$("$gaugery" help "$command")
  echo ".SS $command"
  echo ".nf"
  paragraph 1 <<<"$help" | synopsis
  echo ".fi"
  echo ".PP"
  paragraph 2 <<<"$help" | filled
  details=$(paragraphs_from 3 <<<"$help")
  if [ -n "$details" ]; then
    options <<<"$details"
  fi
done
cat <<TAIL
.SH EXIT STATUS
0 on success, 1 with the error's message on standard error, 2 on wrong usage.
.SH SEE ALSO
The README of the package ($(roff <<<"$doc_dir")).
TAIL
