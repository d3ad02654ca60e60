# bash completion for vexloweb and vexloweb-shell: commands, options, .json and .io files, the
# names of the .io files in a --bundle folder, and the keys the load exports.

_vexloweb_files() {  # EXTENSION: files with it, and folders to go into
  local IFS=$'\n'
  COMPREPLY+=($(compgen -d -S / -- "$cur") $(compgen -f -X "!*.$1" -- "$cur"))
  compopt -o nospace -o filenames 2>/dev/null
}

_vexloweb_names() {  # the .io files of the bundle folder given on the line, without .io
  local bundle=. i
  for ((i = 1; i < COMP_CWORD; i++)); do
    [[ ${COMP_WORDS[i]} == --bundle ]] && bundle=${COMP_WORDS[i + 1]}
  done
  local file names=()
  for file in "$bundle"/*.io; do
    [[ -f $file ]] && names+=("$(basename "${file%.io}")")
  done
  COMPREPLY+=($(compgen -W "${names[*]}" -- "$cur"))
}

_vexloweb_value() {  # completes the value of the option just before; false when it takes none
  case $prev in
    --key | --iv | --base-url | --route | --size) return 0 ;;
    --key-file | --defaults | -o | --output | --screenshot) local IFS=$'\n'; COMPREPLY=($(compgen -f -- "$cur")) ;;
    --bundle) local IFS=$'\n'; COMPREPLY=($(compgen -d -- "$cur")) ;;
    *) return 1 ;;
  esac
  compopt -o filenames 2>/dev/null
  return 0
}

_vexloweb() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local command="" i
  COMPREPLY=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      seal | open | check | load | defaults | schema) command=${COMP_WORDS[i]}; break ;;
    esac
  done
  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "seal open check load defaults schema --help --version" -- "$cur"))
    return
  fi
  _vexloweb_value && return
  local keys="--key --key-file --iv" options
  case $command in
    seal) options="$keys -o --output --no-check --help" ;;
    open) options="$keys --help" ;;
    check) options="$keys --json --strict --help" ;;
    load) options="$keys --bundle --defaults --help" ;;
    defaults) options="--defaults --help" ;;
    schema) options="--help" ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  case $command in
    seal) _vexloweb_files json ;;
    open | check) _vexloweb_files io ;;
    load) _vexloweb_names ;;
    defaults)
      COMPREPLY=($(compgen -W "ADMOB_ID BANNER INTERSTITIAL REWARDED AD_DELAY BANNER_AD_DELAY
        INTERSTITIAL_AD_DELAY REWARDED_AD_DELAY FB_AD_ID FB_BANNER FB_INTERSTITIAL FB_REWARDED
        FB_AD_DELAY FB_BANNER_DELAY FB_INTERSTITIAL_DELAY FB_REWARDED_DELAY COLOR_PRIMARY
        COLOR_PRIMARY_DARK APP_THEME" -- "$cur"))
      ;;
  esac
}

_vexloweb_shell() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  _vexloweb_value && return
  case ${COMP_WORDS[1]} in
    install)
      [[ $cur == -* ]] && COMPREPLY=($(compgen -W "--bundle --help" -- "$cur")) || _vexloweb_names
      return
      ;;
    uninstall)  # the installed apps' names and ids, as `list` shows them
      [[ $cur == -* ]] && COMPREPLY=($(compgen -W "--purge --help" -- "$cur")) ||
        COMPREPLY=($(compgen -W "$(vexloweb-shell list 2>/dev/null | cut -f1,2)" -- "$cur"))
      return
      ;;
    list) return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "--bundle --defaults --base-url --size --screenshot --dump-ui --route
      --help --version" -- "$cur"))
    return
  fi
  ((COMP_CWORD == 1)) && COMPREPLY=($(compgen -W "install uninstall list" -- "$cur"))
  _vexloweb_names
}

complete -F _vexloweb vexloweb
complete -F _vexloweb_shell vexloweb-shell
