#!/usr/bin/env bash
# Drives the bash completion as bash does (COMP_WORDS, COMP_CWORD, the completion function) in a
# scratch folder, and checks its answers against a table. Usage:
#   bash_completion_test.sh COMPLETION_FILE ANSWERS_TABLE
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
  [[ $got == "$2" ]] && passed=$((passed + 1)) && return
  failed=$((failed + 1))
  echo "'$1': expected '$2', got '$got'"
}

while IFS=$'\t' read -r words answers; do
  [[ -z $words || $words == '#'* ]] || expect "$words" "$answers"
done <"$2"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 && $passed -gt 0 ]]
