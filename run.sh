#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program against the simulator.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/setup.sh"
orvanta_install
orvanta_build
orvanta_runtime_dir
WORK="$(orvanta_workdir)"
cd "$WORK"
# --live: each picture the simulator serves differs from the last, so a continuous download shows it.
exec "$ROOT/build/bin/orvanta" --simulate --sim-option=--live "$@"
