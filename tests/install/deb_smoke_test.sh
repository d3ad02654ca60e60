#!/usr/bin/env bash
# Tries the installed Debian packages, and nothing of the build: the tool checks and loads the
# example, the C interface's test builds through pkg-config and passes, Python imports the module with no
# variables set, and the man pages are where man looks. Usage: deb_smoke_test.sh EXAMPLE_BUNDLE
set -euo pipefail
bundle=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export PATH=/usr/bin:/bin
unset LD_LIBRARY_PATH VEXLOWEB_LIBRARY PYTHONPATH

[[ $(command -v vexloweb) == /usr/bin/vexloweb ]]
vexloweb check "$bundle/example.io"
vexloweb load --bundle "$bundle" --defaults "$work/defaults.sqlite3" example >/dev/null
[[ $(vexloweb defaults --defaults "$work/defaults.sqlite3" COLOR_PRIMARY) == '{"COLOR_PRIMARY":"quarn_gradient3_primary"}' ]]
# shellcheck disable=SC2046  # the flags are words
gcc -std=c11 -Wall -Werror "$here/../c_api/c_api_test.c" -o host -DVEXLOWEB_ROUNDS=20 -DVEXLOWEB_EXAMPLE_BUNDLE="\"$bundle\"" \
  -DVEXLOWEB_EXPECTED_VERSION="\"$(pkg-config --modversion vexloweb)\"" \
  $(pkg-config --cflags --libs vexloweb) -lpthread
./host
env -i /usr/bin/python3 -c 'import vexloweb; print("python3-vexloweb", vexloweb.version())'
man -w vexloweb
man -w vexloweb-shell
vexloweb-shell --bundle "$bundle" --defaults "$work/defaults.sqlite3" --route https://maps.example/x example | grep -qx EXTERNAL
echo "deb smoke test: 1 passed, 0 failed"
