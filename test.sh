#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in the normal
# build and once under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer; then a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-dependencies.sh

export QT_QPA_PLATFORM=offscreen
for preset in dev asan; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
fuzz/run.sh "${ISOQUILL_FUZZ_SECONDS:-20}"
