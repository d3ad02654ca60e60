#!/usr/bin/env bash
# Tries the installed Debian packages, and nothing of the build. Usage:
#   deb_smoke_test.sh core EXAMPLE_BUNDLE   with only libvexloweb1 and libvexloweb-dev installed: no
#                                           GUI library is pulled in, a C++ host builds by
#                                           find_package, and the GTK layer is nowhere
#   deb_smoke_test.sh all EXAMPLE_BUNDLE    with every package: the tool checks and loads the
#                                           example, the C interface's test builds through
#                                           pkg-config and passes, hosts of the GTK layer build by
#                                           find_package COMPONENTS gtk, Python
#                                           imports the module with no variables set, and the man
#                                           pages are where man looks
set -euo pipefail
mode=$1
bundle=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export PATH=/usr/bin:/bin
unset LD_LIBRARY_PATH VEXLOWEB_LIBRARY PYTHONPATH PKG_CONFIG_PATH CMAKE_PREFIX_PATH

fail() { echo "deb smoke test ($mode): $*" >&2; exit 1; }
cmake_host() {  # NAME SOURCE EXPECTED FIND LINK: a CMake host of SOURCE against /usr must print EXPECTED
  mkdir -p "$1" && cp "$here/$2" "$1/main.cpp" && printf 'cmake_minimum_required(VERSION 3.25)\nproject(host CXX)\n%s\nadd_executable(host main.cpp)\n%s\n' "$4" "$5" >"$1/CMakeLists.txt"
  { cmake -S "$1" -B "$1/build" -G Ninja && cmake --build "$1/build"; } >"$1.log" 2>&1 || { cat "$1.log"; fail "the $1 host did not build"; }
  [[ $("$1/build/host" "$bundle") == "$3" ]] || fail "the $1 host printed $("$1/build/host" "$bundle")"
}
[[ $mode == core || $mode == all ]] || { echo "usage: deb_smoke_test.sh core|all EXAMPLE_BUNDLE" >&2; exit 2; }

if [[ $mode == core ]]; then
  # What apt would fetch for libvexloweb-dev on a machine without a desktop: no GUI library.
  ! dpkg-query -W -f='${Status}' libvexloweb-gtk1 2>/dev/null | grep -q ' installed' || fail "libvexloweb-gtk1 came along"
  gui=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
    --no-enhances libvexloweb-dev | grep -v '^ ' | grep -iE 'gtk|webkit|libx11|wayland' || true)
  if [[ -n $gui || -e /usr/include/vexloweb/gtk.hpp ]] || pkg-config --exists vexloweb-gtk; then fail "GUI parts: $gui"; fi
  cmake_host core main.cpp "com.example.bakery $(pkg-config --modversion vexloweb)" 'find_package(VexloWebLib 1 CONFIG REQUIRED)
find_package(VexloWebLib 1 CONFIG QUIET COMPONENTS gtk)
if(VexloWebLib_FOUND)
  message(FATAL_ERROR "the gtk component was found without libvexloweb-gtk-dev")
endif()' 'target_link_libraries(host PRIVATE VexloWebLib::vexloweb)'
else
  [[ $(command -v vexloweb) == /usr/bin/vexloweb ]] || fail "vexloweb is not /usr/bin/vexloweb"
  vexloweb check "$bundle/example.io"
  vexloweb load --bundle "$bundle" --defaults "$work/defaults.sqlite3" example >/dev/null
  [[ $(vexloweb defaults --defaults "$work/defaults.sqlite3" COLOR_PRIMARY) == '{"COLOR_PRIMARY":"quarn_gradient3_primary"}' ]]
  # shellcheck disable=SC2046  # the flags are words
  gcc -std=c11 -Wall -Werror "$here/../c_api/c_api_test.c" -o host -DVEXLOWEB_ROUNDS=20 -DVEXLOWEB_EXAMPLE_BUNDLE="\"$bundle\"" \
    -DVEXLOWEB_EXPECTED_VERSION="\"$(pkg-config --modversion vexloweb)\"" \
    $(pkg-config --cflags --libs vexloweb) -lpthread
  ./host
  cmake_host gtk gtk_host.cpp "#edbf65" 'find_package(VexloWebLib 1 CONFIG REQUIRED COMPONENTS gtk)' \
    'target_link_libraries(host PRIVATE VexloWebLib::gtk)'
  env -i /usr/bin/python3 -c 'import vexloweb; print("python3-vexloweb", vexloweb.version())'
  man -w vexloweb
  man -w vexloweb-shell
  vexloweb-shell --bundle "$bundle" --defaults "$work/defaults.sqlite3" --route https://maps.example/x example | grep -qx EXTERNAL
fi
echo "deb smoke test ($mode): 1 passed, 0 failed"
