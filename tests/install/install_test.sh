#!/usr/bin/env bash
# Installs the built library into a temporary prefix, then builds a host against it twice:
# with CMake's find_package and with pkg-config.
set -euo pipefail
build_dir=$1 source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
mkdir "$work/host"
cp "$source_dir/main.cpp" "$work/host/"
cp "$source_dir/CMakeLists.txt.in" "$work/host/CMakeLists.txt"
cmake -S "$work/host" -B "$work/host/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/host/build" >/dev/null
"$work/host/build/host"
pc_path=$(dirname "$(find "$work/prefix" -name vexloweb.pc)")
# shellcheck disable=SC2046
c++ -std=c++20 "$source_dir/main.cpp" -o "$work/host-pc" \
  $(PKG_CONFIG_PATH=$pc_path pkg-config --cflags --libs --static vexloweb)
"$work/host-pc"
