#!/usr/bin/env bash
# The bash completion of gaugery, run as bash runs it on Tab against the built program
# and the live sample of this machine.
#
#   tests/tools/completion-test.sh COMPLETION_FILE GAUGERY_BINARY
set -uo pipefail
source "$1"
gaugery=$2
failures=0

# complete LINE: COMPREPLY for the last word of LINE ("" after a trailing blank).
complete_line() {
  read -r -a COMP_WORDS <<<"$1"
  [[ $1 == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$gaugery
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _gaugery
}

# expect LINE WORD...: each WORD is among the offers for LINE.
expect() {
  local line=$1 word offers; shift
  complete_line "$line"
  offers=$(printf '[%s] ' "${COMPREPLY[@]}")
  for word in "$@"; do
    if [[ $offers != *"[$word]"* ]]; then
      echo "FAIL: '$line' offers $offers, not [$word]"
      failures=$((failures + 1))
    fi
  done
}

expect 'gaugery --c' --computer
expect 'gaugery ' top help --replay --computer
expect 'gaugery read Process Wor' 'Working\ Set' 'Working\ Set\ Peak'
expect 'gaugery read Process "Wor' 'Working Set' 'Working Set Peak'
expect "gaugery read 'Proc" Process
expect 'gaugery top --sort Pag' 'Page\ File\ Bytes' 'Page\ File\ Bytes\ Peak'
expect 'gaugery top --sort "pag' 'Page File Bytes' 'Page File Bytes Peak'
expect 'gaugery names --h' --help --help-texts
expect 'gaugery ' record --begin --end
expect 'gaugery record --objects 230,232 --m' --max-size
expect 'gaugery record --max-size 10M --interval 5 /tm' /tmp
expect 'gaugery watch --ev' --every
expect 'gaugery watch --every 2 Process Wor' 'Working\ Set'

if [ "$failures" -gt 0 ]; then
  echo "completion: $failures failed"
  exit 1
fi
echo "completion: all good"
