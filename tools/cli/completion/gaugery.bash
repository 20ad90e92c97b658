# bash completion for gaugery: commands, their options, object titles, the counter
# titles of the object already on the line and the columns of `top --sort`. Titles come
# from the program itself (the live sample, or --replay and --locale as given on the
# line). A title begun inside quotes ("Wor) is completed inside them.

_gaugery_titles() {  # _gaugery_titles ARGS...: the "title" fields of a --json listing
  "${_gaugery_program[@]}" "$@" --json 2>/dev/null |
    sed -n 's/^ *"title": "\(.*\)",\{0,1\}$/\1/p'
}

_gaugery_commands() {  # the command names of `gaugery help`
  "${_gaugery_program[@]}" help 2>/dev/null |
    awk '/^Commands:/ {on = 1; next} on && /^  [a-z]/ {print $1} on && /^[^ ]/ {on = 0}'
}

_gaugery_columns() {  # the column captions of `gaugery top`, one a line
  "${_gaugery_program[@]}" top --count 1 2>/dev/null | head -n 1 | tr '\t' '\n'
}

# _gaugery_offer WORDS: the lines of WORDS that begin with what is typed, ignoring case.
# Inside quotes they are offered as they are, readline closing the quote; elsewhere
# escaped for the shell. What is typed may itself be escaped ("Working\ S"), so it is
# compared without the backslashes.
_gaugery_offer() {
  local IFS=$'\n' word typed=$_gaugery_typed
  [ -n "$_gaugery_quote" ] || typed=${typed//\\/}
  COMPREPLY=()
  for word in $1; do
    [[ ${word,,} == "${typed,,}"* ]] || continue
    if [ -n "$_gaugery_quote" ]; then COMPREPLY+=("$word"); else COMPREPLY+=("$(printf '%q' "$word")"); fi
  done
}

_gaugery() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  # A word begun inside quotes keeps its opening quote in COMP_WORDS: what is typed
  # is the text after it.
  _gaugery_quote="" _gaugery_typed=$cur
  case $cur in
    \"*|\'*) _gaugery_quote=${cur:0:1} _gaugery_typed=${cur:1} ;;
  esac
  _gaugery_program=("${COMP_WORDS[0]}")
  local i command="" operands=() locale=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    local word=${COMP_WORDS[i]}
    case $word in
      --replay|--computer|--begin|--end) _gaugery_program+=("$word" "${COMP_WORDS[i+1]}"); ((i++)); continue ;;
      --locale) locale=(--locale "${COMP_WORDS[i+1]}"); ((i++)); continue ;;
      --key|--interval|--count|--object|--sort|--listen|--token|--history) ((i++)); continue ;;
      --duration|--objects|--max-size|--keep|--sync) ((i++)); continue ;;
      --format|--every|--counters|-o) ((i++)); continue ;;
      -*) continue ;;
    esac
    if [ -z "$command" ]; then command=$word; else operands+=("$word"); fi
  done

  case $prev in
    --replay|--token|--counters|-o) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --format) COMPREPLY=($(compgen -W "log csv tsv json" -- "$cur")); return ;;
    --computer|--begin|--end|--every) COMPREPLY=(); return ;;
    --sort) [ "$command" = top ] && _gaugery_offer "$(_gaugery_columns)"; return ;;
    --locale) COMPREPLY=($(compgen -W "$("${_gaugery_program[@]}" locales 2>/dev/null)" -- "$cur")); return ;;
  esac

  if [ -z "$command" ]; then
    COMPREPLY=($(compgen -W "$(_gaugery_commands) --replay --begin --end --computer --help --version" -- "$cur"))
    return
  fi

  if [[ $cur == -* ]]; then
    local options
    options=$("${_gaugery_program[@]}" help "$command" 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u)
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi

  local titles=""
  case $command in
    counters|instances)
      [ ${#operands[@]} -eq 0 ] && titles=$(_gaugery_titles objects "${locale[@]}") ;;
    read|watch)
      if [ ${#operands[@]} -eq 0 ]; then
        titles=$(_gaugery_titles objects "${locale[@]}")
      else
        local object=${operands[0]//[\\\"\']/}
        titles=$(_gaugery_titles counters "${locale[@]}" "$object")
      fi ;;
    capture|record|relog) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    help)
      [ ${#operands[@]} -eq 0 ] && COMPREPLY=($(compgen -W "$(_gaugery_commands)" -- "$cur"))
      return ;;
  esac
  # Titles hold blanks: each is offered as one word.
  _gaugery_offer "$titles"
}
complete -F _gaugery gaugery
