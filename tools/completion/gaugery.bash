# bash completion for gaugery: commands, their options, object titles and the
# counter titles of the object already on the line. Titles come from the program
# itself (the live sample, or --replay and --locale as given on the line).

_gaugery_titles() {  # _gaugery_titles ARGS...: the "title" fields of a --json listing
  "${_gaugery_program[@]}" "$@" --json 2>/dev/null |
    sed -n 's/^ *"title": "\(.*\)",\{0,1\}$/\1/p'
}

_gaugery_commands() {  # the command names of `gaugery help`
  "${_gaugery_program[@]}" help 2>/dev/null |
    awk '/^Commands:/ {on = 1; next} on && /^  [a-z]/ {print $1} on && /^[^ ]/ {on = 0}'
}

_gaugery() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  _gaugery_program=("${COMP_WORDS[0]}")
  local i command="" operands=() locale=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    local word=${COMP_WORDS[i]}
    case $word in
      --replay|--computer) _gaugery_program+=("$word" "${COMP_WORDS[i+1]}"); ((i++)); continue ;;
      --locale) locale=(--locale "${COMP_WORDS[i+1]}"); ((i++)); continue ;;
      --key|--interval|--count|--object|--sort|--listen|--token) ((i++)); continue ;;
      -*) continue ;;
    esac
    if [ -z "$command" ]; then command=$word; else operands+=("$word"); fi
  done

  case $prev in
    --replay|--token) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --locale) COMPREPLY=($(compgen -W "$("${_gaugery_program[@]}" locales 2>/dev/null)" -- "$cur")); return ;;
  esac

  if [ -z "$command" ]; then
    COMPREPLY=($(compgen -W "$(_gaugery_commands) help --replay --help --version" -- "$cur"))
    return
  fi

  if [[ $cur == -* ]]; then
    local options
    options=$("${_gaugery_program[@]}" help "$command" 2>/dev/null | grep -o -- '--[a-z]*' | sort -u)
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
    capture) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    help)
      [ ${#operands[@]} -eq 0 ] && COMPREPLY=($(compgen -W "$(_gaugery_commands)" -- "$cur"))
      return ;;
  esac
  # Titles hold blanks: offer each as one word, escaped for the shell. What is typed so
  # far may itself be escaped ("Working\ S"), so it is compared without the backslashes.
  local IFS=$'\n' title typed=${cur//\\/}
  COMPREPLY=()
  for title in $titles; do
    [[ ${title,,} == "${typed,,}"* ]] && COMPREPLY+=("$(printf '%q' "$title")")
  done
}
complete -F _gaugery gaugery
