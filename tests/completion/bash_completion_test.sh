#!/usr/bin/env bash
# Drives the bash completion as bash does (COMP_WORDS, COMP_CWORD, the completion function) in a
# scratch folder, and checks its answers. Usage: bash_completion_test.sh COMPLETION_FILE
set -uo pipefail
source "$1"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir -p bundle sub
touch app.json other.json notes.txt sealed.io bundle/shop.io bundle/blog.io bundle/readme.md
passed=0 failed=0

# expect 'WORDS...' 'EXPECTED ANSWERS' (sorted, one line): the last word is the one completed.
expect() {
  read -ra COMP_WORDS <<<"$1"
  [[ $1 == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  if [[ ${COMP_WORDS[0]} == vexloweb-shell ]]; then _vexloweb_shell; else _vexloweb; fi
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//')
  if [[ $got == "$2" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "'$1': expected '$2', got '$got'"
  fi
}

expect 'vexloweb ' '--help --version check defaults load open schema seal'
expect 'vexloweb s' 'schema seal'
expect 'vexloweb seal ' 'app.json bundle/ other.json sub/'
expect 'vexloweb seal -' '--help --iv --key --key-file --no-check --output -o'
expect 'vexloweb check --json ' 'bundle/ sealed.io sub/'
expect 'vexloweb check --' '--help --iv --json --key --key-file --strict'
expect 'vexloweb open sealed.io --key ' ''
expect 'vexloweb load --bundle bundle ' 'blog shop'
expect 'vexloweb load ' 'sealed'  # the current folder by default
expect 'vexloweb load --bundle b' 'bundle'
expect 'vexloweb defaults COLOR_' 'COLOR_PRIMARY COLOR_PRIMARY_DARK'
expect 'vexloweb defaults --defaults n' 'notes.txt'
expect 'vexloweb-shell --bundle bundle s' 'shop'
expect 'vexloweb-shell --d' '--defaults --dump-ui'
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
