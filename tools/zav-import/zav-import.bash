# bash completion for zav-import: its options, the values of those that take
# a fixed set, and file or directory names elsewhere.
# Installed as share/bash-completion/completions/zav-import.

_zav_import() {
  local cur prev
  cur=${COMP_WORDS[COMP_CWORD]}
  prev=${COMP_WORDS[COMP_CWORD-1]}

  local options="-h --help --version -o --output -r --recursive --ext --list-files --list --dump
    --check --target --summary --report -q --quiet --diagnostics --fail-on --color --progress --no-progress -j --jobs"

  # "--option=value": complete the value after the '='. (bash splits the word
  # at '=' when COMP_WORDBREAKS holds it, as it does by default.)
  if [[ $cur == --*=* ]]; then
    prev=${cur%%=*}
    cur=${cur#*=}
  elif [[ $cur == = ]]; then
    cur=""
    prev=${COMP_WORDS[COMP_CWORD-2]}
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi

  case $prev in
    --diagnostics)
      mapfile -t COMPREPLY < <(compgen -W "text native json" -- "$cur")
      return
      ;;
    --fail-on)
      mapfile -t COMPREPLY < <(compgen -W "error warning never" -- "$cur")
      return
      ;;
    --color)
      mapfile -t COMPREPLY < <(compgen -W "auto always never" -- "$cur")
      return
      ;;
    --target)
      mapfile -t COMPREPLY < <(compgen -W "host ngspice" -- "$cur")
      return
      ;;
    --ext)
      mapfile -t COMPREPLY < <(compgen -W "lib mod cir sub inc txt ckt spi lb fam phy mdl sp sp3 net" -- "$cur")
      return
      ;;
    -o | --output)
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return
      ;;
    --report)
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return
      ;;
    -j | --jobs)
      return
      ;;
  esac

  if [[ $cur == -* ]]; then
    # shellcheck disable=SC2086
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

complete -o filenames -o bashdefault -F _zav_import zav-import
