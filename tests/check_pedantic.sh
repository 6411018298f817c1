#!/usr/bin/env bash
# Builds the engine core with a second compiler, in a folder of its own that later runs build
# again only where the sources changed. The core compiles with -pedantic-errors (CMakeLists.txt):
# the build's own compiler holds it to standard C++20 without extensions, this the other one.
#   check_pedantic.sh SOURCE_DIR BUILD_DIR C++_COMPILER C_COMPILER GENERATOR [LAUNCHER]
set -euo pipefail
src=$1 build=$2 cxx=$3 cc=$4 generator=$5 launcher=${6:-}
if [[ ! -f $build/CMakeCache.txt ]]; then
  mkdir -p "$build"
  if ! cmake -S "$src" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_C_COMPILER="$cc" -DGH02_TOOLS=OFF \
    ${launcher:+"-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher"} >"$build/configure.log" 2>&1; then
    cat "$build/configure.log"
    rm -f "$build/CMakeCache.txt"
    exit 1
  fi
fi
cmake --build "$build" --target gh02_core -j 2
