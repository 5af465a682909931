#!/usr/bin/env bash
# Share of the code that is tests: lines under tests/ over all source, script and CMake lines.
cd "$(dirname "$0")/.." || exit 1
git ls-files | grep -E '\.(cpp|cc|h|hpp|c|sh|cmake|sql|py|in)$|(^|/)CMakeLists\.txt$|(^|/)\.ci/run$' | xargs cat | wc -l |
  paste - <(git ls-files tests | grep -E '\.(cpp|cc|h|hpp|c|sh|cmake|sql|py|in)$|(^|/)CMakeLists\.txt$' | xargs cat | wc -l) |
  awk '{ printf "tests/: %d of %d lines, %.1f%%\n", $2, $1, 100 * $2 / $1 }'
