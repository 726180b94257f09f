#!/usr/bin/env bash
# Configures (once) and builds one build folder: build.sh DIR [cmake options...]. TARGET
# names one target to build instead of everything. Ninja is used for new folders; an
# existing folder keeps the generator it was made with.
set -euo pipefail
dir=$1; shift
if [[ ! -f "$dir/CMakeCache.txt" ]]; then
  cmake -S . -B "$dir" -G Ninja "$@"
else
  cmake -S . -B "$dir" "$@" > /dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" ${TARGET:+--target "$TARGET"}
