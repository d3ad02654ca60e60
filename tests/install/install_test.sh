#!/usr/bin/env bash
# Builds and runs a host (main.cpp, which loads the example bundle) against the library in each way
# a host can take it. Usage:
#   install_test.sh BUILD_DIR SOURCE_DIR CXX CC [WAY...]
# WAY is one of:
#   package      cmake --install BUILD_DIR into a new prefix; hosts by find_package and pkg-config
#                (pkg-config --static for a static library), a C++ one and a C11 one (the C
#                interface's test)
#   subdirectory add_subdirectory(SOURCE_DIR) in a host project (none of our tests may be built)
#   fetchcontent FetchContent from a git repository cloned from SOURCE_DIR's HEAD
# With no WAY, only `package`. A host that builds against the package must also see
# VexloWebLib_FOUND false, not an error, when it asks QUIET for a version that does not exist.
# For a cross build, VEXLOWEB_CROSS_TOOLCHAIN (a CMake toolchain file), VEXLOWEB_CROSS_SYSROOT
# (where the target's libraries are unpacked) and VEXLOWEB_CROSS_RUN (the emulator command) say
# how to build and run the hosts.
set -euo pipefail
build_dir=$(cd "$1" && pwd) source_dir=$(cd "$2" && pwd) cxx=$3 cc=$4
shift 4
ways=("${@:-package}")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bundle=$source_dir/examples/bundle
read -ra runner <<<"${VEXLOWEB_CROSS_RUN:-}"
cmake_args=()
[[ -z ${VEXLOWEB_CROSS_TOOLCHAIN:-} ]] || cmake_args=(-DCMAKE_TOOLCHAIN_FILE="$VEXLOWEB_CROSS_TOOLCHAIN")

run_host() {  # NAME EXECUTABLE
  local out
  out=$("${runner[@]}" "$2" "$bundle")
  [[ $out == "com.example.bakery "* ]] || { echo "$1: unexpected output: $out" >&2; exit 1; }
  echo "$1: $out"
}

cmake_host() {  # NAME CMAKE_LISTS_BODY [CMAKE ARGS...]; the host's source: $host_source or main.cpp
  local name=$1 body=$2
  shift 2
  mkdir -p "$work/$name"
  cp "$here/${host_source:-main.cpp}" "$work/$name/main.cpp"
  printf 'cmake_minimum_required(VERSION 3.25)\nproject(host CXX)\n%s\n' "$body" \
    >"$work/$name/CMakeLists.txt"
  cmake -S "$work/$name" -B "$work/$name/build" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" \
    "${cmake_args[@]}" "$@" \
    >"$work/$name.log" 2>&1 || { cat "$work/$name.log"; exit 1; }
  cmake --build "$work/$name/build" >>"$work/$name.log" 2>&1 || { cat "$work/$name.log"; exit 1; }
}

link_host='add_executable(host main.cpp)
target_link_libraries(host PRIVATE VexloWebLib::vexloweb)'

for way in "${ways[@]}"; do
  case $way in
    package)
      cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
      package_args=(-DCMAKE_PREFIX_PATH="$work/prefix")
      if [[ -n ${VEXLOWEB_CROSS_TOOLCHAIN:-} ]]; then
        # A cross toolchain looks for packages only under its roots: add the prefix to them.
        package_args+=(-DCMAKE_FIND_ROOT_PATH="$work/prefix")
      fi
      cmake_host package "find_package(VexloWebLib 99 CONFIG QUIET)
if(VexloWebLib_FOUND)
  message(FATAL_ERROR \"a version 99 was found\")
endif()
find_package(VexloWebLib 1 CONFIG REQUIRED)
foreach(leaked NETTLE_FOUND UTF8PROC_FOUND NETTLE_LIBRARIES UTF8PROC_LIBRARIES)
  if(DEFINED \${leaked})
    message(FATAL_ERROR \"the package left \${leaked} behind\")
  endif()
endforeach()
$link_host" "${package_args[@]}"
      run_host find_package "$work/package/build/host"
      pc=$(find "$work/prefix" -name vexloweb.pc)
      static=()
      [[ -n $(find "$work/prefix" -name 'libvexloweb.so*') ]] || static=(--static)
      pc_env=(PKG_CONFIG_PATH="$(dirname "$pc")")
      cross_flags=()
      if [[ -n ${VEXLOWEB_CROSS_SYSROOT:-} ]]; then
        # The dependencies' .pc files name /usr paths: look for them in the sysroot instead.
        libdir=$(find "$VEXLOWEB_CROSS_SYSROOT/usr/lib" -maxdepth 1 -name '*-linux-gnu*' | head -n1)
        pc_env+=(PKG_CONFIG_LIBDIR="$libdir/pkgconfig:$VEXLOWEB_CROSS_SYSROOT/usr/share/pkgconfig")
        cross_flags=(-I"$VEXLOWEB_CROSS_SYSROOT/usr/include" -L"$libdir" -Wl,-rpath-link,"$libdir")
      fi
      flags=$(env "${pc_env[@]}" pkg-config --cflags --libs "${static[@]}" vexloweb)
      # shellcheck disable=SC2086
      "$cxx" -std=c++20 "$here/main.cpp" -o "$work/host-pc" "${cross_flags[@]}" $flags
      LD_LIBRARY_PATH=$(dirname "$(dirname "$pc")") run_host "pkg-config ${static[*]}" "$work/host-pc"
      # The C11 host is the C interface's own test, built against the package.
      # shellcheck disable=SC2086
      "$cc" -std=c11 -Wall -Wextra -Werror "$here/../c_api/c_api_test.c" -o "$work/host-c" \
        -DVEXLOWEB_ROUNDS=20 -DVEXLOWEB_EXAMPLE_BUNDLE="\"$bundle\"" -DVEXLOWEB_EXPECTED_VERSION="\"$(env "${pc_env[@]}" \
        pkg-config --modversion vexloweb)\"" "${cross_flags[@]}" $flags -lpthread
      out=$(LD_LIBRARY_PATH=$(dirname "$(dirname "$pc")") "${runner[@]}" "$work/host-c")
      echo "C11, pkg-config ${static[*]}: $out"
      # The core package names no GTK; the GTK layer, when installed, serves hosts both ways.
      if grep -rli gtk "$pc" "$(dirname "$(find "$work/prefix" -name VexloWebLibTargets.cmake)")"/VexloWebLibTargets*.cmake; then
        echo "the core package files mention GTK" >&2
        exit 1
      fi
      if [[ -n $(find "$work/prefix" -name vexloweb-gtk.pc) ]]; then
        host_source=gtk_host.cpp cmake_host gtk 'find_package(VexloWebLib 1 CONFIG REQUIRED COMPONENTS gtk)
add_executable(host main.cpp)
target_link_libraries(host PRIVATE VexloWebLib::gtk)' "${package_args[@]}"
        flags=$(env "${pc_env[@]}" pkg-config --cflags --libs "${static[@]}" vexloweb-gtk)
        # shellcheck disable=SC2086
        "$cxx" -std=c++20 "$here/gtk_host.cpp" -o "$work/host-gtk-pc" $flags
        for host in "$work/gtk/build/host" "$work/host-gtk-pc"; do
          out=$(LD_LIBRARY_PATH=$(dirname "$(dirname "$pc")") "$host")
          [[ $out == "#edbf65" ]] || { echo "GTK host: unexpected output: $out" >&2; exit 1; }
        done
        echo "GTK layer (find_package COMPONENTS gtk, pkg-config vexloweb-gtk): $out"
      fi
      if [[ -x $work/prefix/bin/vexloweb ]]; then
        env -u LD_LIBRARY_PATH "${runner[@]}" "$work/prefix/bin/vexloweb" --version
      fi
      ;;
    subdirectory)
      cmake_host subdirectory "add_subdirectory(\"$source_dir\" vexloweb)
$link_host"
      if [[ -n $(find "$work/subdirectory/build/vexloweb" -name '*_test' -type f) ]]; then
        echo "subdirectory: our tests were built into the host" >&2
        exit 1
      fi
      run_host add_subdirectory "$work/subdirectory/build/host"
      ;;
    fetchcontent)
      git clone -q "$source_dir" "$work/repo"
      cmake_host fetchcontent "include(FetchContent)
FetchContent_Declare(vexloweb GIT_REPOSITORY \"file://$work/repo\" GIT_TAG HEAD)
FetchContent_MakeAvailable(vexloweb)
$link_host"
      run_host FetchContent "$work/fetchcontent/build/host"
      ;;
    *)
      echo "unknown way: $way" >&2
      exit 2
      ;;
  esac
done
