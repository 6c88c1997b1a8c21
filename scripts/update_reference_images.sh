#!/usr/bin/env bash
# Rewrites the reference images in tests/ui/reference from the program as it
# is now, for when its look changes on purpose. Look at every changed picture
# (git diff shows which) before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh -DTAMSAVIK_WERROR=ON
build=${BUILD_DIR:-build}
rm -f tests/ui/reference/*.png
TAMSAVIK_UPDATE_REFERENCES=1 QT_QPA_PLATFORM=offscreen "$build/bin/reference_image_test"
git status --short tests/ui/reference
