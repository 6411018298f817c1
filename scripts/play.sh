#!/usr/bin/env bash
# Installs what is missing, builds GH02 and its demo adventure, and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release
exec build/release/game/gh02 "$@"
