#!/usr/bin/env bash
# Tries the installed Debian packages, and nothing of the build. Usage:
#   deb_smoke_test.sh core EXAMPLE_BUNDLE   with only libvexloweb1 and libvexloweb-dev installed: no
#                                           GUI library is pulled in, a C++ host builds by
#                                           find_package, and the GTK layer is nowhere
#   deb_smoke_test.sh all EXAMPLE_BUNDLE    with every package: the tool checks and loads the
#                                           example, the C interface's test builds through
#                                           pkg-config and passes, hosts of the GTK layer build by
#                                           find_package COMPONENTS gtk and pkg-config, Python
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

cmake_host() {  # NAME SOURCE CMAKE_LISTS_BODY: configures and builds a host against /usr
  mkdir -p "$work/$1"
  cp "$here/$2" "$work/$1/main.cpp"
  printf 'cmake_minimum_required(VERSION 3.25)\nproject(host CXX)\n%s\n' "$3" >"$work/$1/CMakeLists.txt"
  { cmake -S "$work/$1" -B "$work/$1/build" -G Ninja && cmake --build "$work/$1/build"; } \
    >"$work/$1.log" 2>&1 || { cat "$work/$1.log"; fail "the $1 host did not build"; }
}

case $mode in
  core)
    # The core development package and everything it depends on, as apt would fetch them for a
    # host without a desktop: no GTK, no WebKit, no X or Wayland client library.
    ! dpkg-query -W -f='${Status}\n' libvexloweb-gtk1 2>/dev/null | grep -q 'ok installed' \
      || fail "libvexloweb-gtk1 came with libvexloweb-dev"
    closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
      --no-replaces --no-enhances libvexloweb-dev | grep -v '^ ')
    gui=$(grep -iE 'gtk|webkit|libx11|wayland' <<<"$closure" || true)
    [[ -z $gui ]] || fail "libvexloweb-dev pulls in $(tr '\n' ' ' <<<"$gui")"
    [[ ! -e /usr/include/vexloweb/gtk.hpp ]] || fail "the GTK layer's headers came with the core"
    ! pkg-config --exists vexloweb-gtk || fail "vexloweb-gtk.pc came with the core"
    cmake_host core main.cpp 'find_package(VexloWebLib 1 CONFIG REQUIRED)
find_package(VexloWebLib 1 CONFIG QUIET COMPONENTS gtk)
if(VexloWebLib_FOUND)
  message(FATAL_ERROR "the gtk component was found without libvexloweb-gtk-dev")
endif()
add_executable(host main.cpp)
target_link_libraries(host PRIVATE VexloWebLib::vexloweb)'
    out=$("$work/core/build/host" "$bundle")
    [[ $out == "com.example.bakery "* ]] || fail "the find_package host printed: $out"
    echo "core: $(wc -l <<<"$closure") packages in libvexloweb-dev's closure, none of a GUI; find_package host: $out"
    ;;
  all)
    [[ $(command -v vexloweb) == /usr/bin/vexloweb ]] || fail "vexloweb is not /usr/bin/vexloweb"
    vexloweb check "$bundle/example.io"
    vexloweb load --bundle "$bundle" --defaults "$work/defaults.sqlite3" example >/dev/null
    [[ $(vexloweb defaults --defaults "$work/defaults.sqlite3" COLOR_PRIMARY) == '{"COLOR_PRIMARY":"quarn_gradient3_primary"}' ]]
    # shellcheck disable=SC2046  # the flags are words
    gcc -std=c11 -Wall -Werror "$here/../c_api/c_api_test.c" -o host -DVEXLOWEB_ROUNDS=20 -DVEXLOWEB_EXAMPLE_BUNDLE="\"$bundle\"" \
      -DVEXLOWEB_EXPECTED_VERSION="\"$(pkg-config --modversion vexloweb)\"" \
      $(pkg-config --cflags --libs vexloweb) -lpthread
    ./host
    cmake_host gtk gtk_host.cpp 'find_package(VexloWebLib 1 CONFIG REQUIRED COMPONENTS gtk)
add_executable(host main.cpp)
target_link_libraries(host PRIVATE VexloWebLib::gtk)'
    # shellcheck disable=SC2046
    g++ -std=c++20 "$here/gtk_host.cpp" -o host-gtk-pc $(pkg-config --cflags --libs vexloweb-gtk)
    for host in "$work/gtk/build/host" ./host-gtk-pc; do
      [[ $("$host") == "#edbf65" ]] || fail "$host printed $("$host")"
    done
    env -i /usr/bin/python3 -c 'import vexloweb; print("python3-vexloweb", vexloweb.version())'
    man -w vexloweb
    man -w vexloweb-shell
    vexloweb-shell --bundle "$bundle" --defaults "$work/defaults.sqlite3" --route https://maps.example/x example | grep -qx EXTERNAL
    ;;
  *)
    echo "usage: deb_smoke_test.sh core|all EXAMPLE_BUNDLE" >&2
    exit 2
    ;;
esac
echo "deb smoke test ($mode): 1 passed, 0 failed"
