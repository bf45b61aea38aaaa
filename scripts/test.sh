#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite.
# Tests run headless; those that need a real X display get one from Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
xvfb-run -a -s "-screen 0 1600x1200x24" \
    ctest --test-dir build --output-on-failure -j"$(nproc)"
