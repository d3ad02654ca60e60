#!/usr/bin/env bash
# Reports (never fails on) the size of the tests against the code: non-blank lines that are not
# only a comment, in *.cpp *.hpp *.h *.c *.py *.sh, tests/ against src/ include/ tools/
# bindings/ shell/; data files are not code.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -- "$@" | grep -E '\.(cpp|hpp|h|c|py|sh)$' | grep -v '/data/' |
    xargs -r cat | grep -cvE '^\s*((//|#).*)?$' || true
}
code=$(count src include tools bindings shell)
tests=$(count tests)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "test code: %d lines against %d lines of code: ratio %.2f\n", t, c, t / c }'
