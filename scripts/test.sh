#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the tests of the ordinary build (build/), end-to-end runs included;
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer
#      by Clang (build-asan/), failing on any report; the package and the
#      pictures' content (data the converter made, which runs under the
#      sanitizers when this build makes its pictures) are checked once, in 1.;
#   3. the picture-file fuzzer for a minute, then over its whole corpus (build-fuzz/);
#   4. a Release build with GCC, so optimised builds stay free of warnings (build-release/).
# Exits non-zero as soon as one of them fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
passed=0
# Runs one ctest pass and adds its count of tests to the total.
run_ctest() {
    local log
    log=$(mktemp)
    ctest "$@" 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]} count
    count=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
    rm -f "$log"
    ((status == 0)) || exit "$status"
    passed=$((passed + ${count:-0}))
}

bash scripts/setup.sh

echo "== Tests =="
run_ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
# -O1, as the sanitizers advise: unoptimised, the pixel and picture tests take
# many minutes each under them.
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DPYATNUSHKI_SANITIZE=ON -DPYATNUSHKI_WERROR=ON -DPYATNUSHKI_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=halt_on_error=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0 \
    run_ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600 --label-exclude "package|content"

echo "== Fuzzing the picture readers =="
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPYATNUSHKI_FUZZ=ON -DPYATNUSHKI_TESTS=OFF -DPYATNUSHKI_BENCH=OFF -DPYATNUSHKI_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target picture_readers_fuzz
corpus=build-fuzz/corpus
mkdir -p "$corpus"
bash tests/fuzz/make_seeds.sh build/pyatnushki/data "$corpus"
fuzzer=build-fuzz/tests/fuzz/picture_readers_fuzz
(cd build-fuzz && "$root/$fuzzer" -max_total_time=60 -max_len=8192 -print_final_stats=1 corpus 2>&1 | tail -n 8)
"$fuzzer" -runs=0 "$corpus" 2>&1 | tail -n 2

echo "== Release build =="
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPYATNUSHKI_WERROR=ON \
    -DPYATNUSHKI_TESTS=OFF -DPYATNUSHKI_BENCH=OFF >/dev/null
cmake --build build-release -j"$jobs"

echo "tests: $passed passed, 0 failed"
