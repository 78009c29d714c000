#!/usr/bin/env bash
# Sets up, builds and starts the tool. Arguments go to the program
# (for example --drive E=card.img, --list-drives, fuse ...).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/strovane "$@"
