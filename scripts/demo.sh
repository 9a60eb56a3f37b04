#!/usr/bin/env bash
# Builds the library and runs its main job: the `zvv demo` tour, writing into zvv-demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
./build/tools/zvv/zvv demo "${1:-zvv-demo}"
