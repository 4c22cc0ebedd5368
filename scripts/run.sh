#!/usr/bin/env bash
# Builds what is missing and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/pyatnushki/pyatnushki "$@"
