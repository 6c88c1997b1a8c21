#!/usr/bin/env bash
# Installs what is missing, builds, and launches Tamsavik.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/bin/tamsavik
