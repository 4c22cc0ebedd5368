#!/usr/bin/env bash
# Builds what is missing and runs the whole test suite; exits with ctest's status.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec ctest --test-dir build --output-on-failure -j2 --timeout 300
