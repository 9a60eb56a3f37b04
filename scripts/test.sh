#!/usr/bin/env bash
# Builds every face and runs every test: native GoogleTest, Python and command-line cases.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
