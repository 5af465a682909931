#!/usr/bin/env bash
# Sets everything up and runs every test: once in the normal build, then the unit and board tests
# once more built with AddressSanitizer and UndefinedBehaviorSanitizer (in build-asan/, or
# $FAZELAS_BUILD_ASAN).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${FAZELAS_BUILD:-$raiz/build}
build_asan=${FAZELAS_BUILD_ASAN:-$raiz/build-asan}
bash "$raiz/tools/preparar.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)"

# The sanitizers: any report ends the test that made it. Only the QtTest programs are built and run
# there: the tests that run the real program (on an X server, or for its --help) add nothing the
# board tests under the sanitizers do not already run. Suppressions, if ever needed, are for
# reports inside system libraries only (tools/sanitizadores.supp says which and why).
# Unoptimised, with line tables only: the sanitizers' reports keep their file and line, and the
# build takes a third less time than an optimised one with full debug information.
(cd "$raiz" && cmake --preset sanitizadores -B "$build_asan" >/dev/null)
programas=$(cd "$raiz/tests" && ls */tst_*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
cmake --build "$build_asan" -j"$(nproc)" --target $programas
cd "$build_asan"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$raiz/tools/sanitizadores.supp:print_suppressions=0"
ctest --output-on-failure -j"$(nproc)" -R '^tst_'
