#!/usr/bin/env bash
# Installs what is missing, builds, and starts Isoquill in the build folder,
# where the element data file PSE.DAT is generated.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-dependencies.sh
cmake --preset release
cmake --build --preset release
cd build-release
exec ./isoquill
