#!/usr/bin/env bash
# Tries the installed Debian packages, and nothing of the build: the tool checks and loads the
# example, a C host builds through pkg-config and runs, Python imports the module with no
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
gcc -std=c11 -Wall -Werror "$here/host.c" -o host $(pkg-config --cflags --libs vexloweb)
./host "$bundle" | grep -q '^com.example.bakery '
env -i /usr/bin/python3 -c 'import vexloweb; print("python3-vexloweb", vexloweb.version())'
man -w vexloweb
man -w vexloweb-shell
vexloweb-shell --bundle "$bundle" --defaults "$work/defaults.sqlite3" --route https://maps.example/x example | grep -qx EXTERNAL
echo "deb smoke test: 1 passed, 0 failed"
