#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"
orvanta_install
orvanta_build
orvanta_runtime_dir
export QT_QPA_PLATFORM=offscreen
cd "$ROOT/build"
ctest --output-on-failure -j2 "$@"
