#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer, clang, fuzz targets) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DGH02_TESTS=ON -DGH02_SANITIZE=ON -DGH02_FUZZ=ON
cmake --build build/test
cd build/test
ctest --output-on-failure -j2 "$@"
