#!/usr/bin/env bash
# Fails when a shared library exports a name that its public headers do not declare. Usage:
#   exported_symbols.sh LIBRARY INCLUDE_DIR...
# Every exported symbol must be a C function named vexloweb_*, or a name in namespace vexloweb (or
# its type information or virtual table) whose every part is a word of the public headers.
set -euo pipefail
library=$1
shift
words=$(grep -rhoE '[A-Za-z_][A-Za-z0-9_]*' "$@" | sort -u)
bad=0 count=0
while IFS= read -r symbol; do
  count=$((count + 1))
  [[ $symbol =~ ^vexloweb_[a-z0-9_]+$ ]] && continue
  name=${symbol#typeinfo name for }
  name=${name#typeinfo for }
  name=${name#vtable for }
  name=${name%%(*}
  name=${name//\[abi:cxx11\]/}
  if [[ $name != vexloweb::* ]]; then
    echo "exported outside the interface: $symbol" >&2
    bad=1
    continue
  fi
  IFS=':' read -ra parts <<<"${name//::/:}"
  for part in "${parts[@]}"; do
    part=${part#\~}
    part=${part#operator}
    [[ -z $part || $part == "<<" ]] && continue
    if ! grep -qxF "$part" <<<"$words"; then
      echo "exported but not in the public headers: $symbol ($part)" >&2
      bad=1
    fi
  done
done < <(nm -D --defined-only -C "$library" | sed -E 's/^[0-9a-f]* [A-Za-z] //')
[[ $count -gt 0 ]] || { echo "no exported symbols read from $library" >&2; exit 1; }
[[ $bad -eq 0 ]] || exit 1
echo "$count exported symbols, all from the public headers"
