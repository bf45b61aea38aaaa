#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite.
# Tests run headless; each that needs a real X display starts an Xvfb of its own.
# Then builds the readers of files that anyone may hand the program once more
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and runs
# their tests and the replay of every fuzzing corpus there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
# A failure here is reported at the end; the sanitizer stage runs either way.
status=0
ctest --test-dir build --output-on-failure -j"$(nproc)" || status=$?

# The unit tests of the readers; every fuzz/fuzz_<reader>.cpp adds its replay.
readers='engine/readingsdb|layouts/layoutfile|layouts/sectionmarkup|layouts/boundedread|designer/hostiletemplate|designer/templatefile|symbols/qrencode|panels/peoplefile|app/settingsfile|app/updatecheck'
targets=()
for test in ${readers//|/ }; do
    targets+=("tst_${test#*/}")
done
for harness in fuzz/fuzz_*.cpp; do
    name=$(basename "$harness" .cpp)
    targets+=("replay_${name#fuzz_}")
done
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMARO_ASAN=ON
cmake --build build-asan -j"$(nproc)" --target "${targets[@]}"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -R "^(fuzz/.*|${readers})\$" || status=$?
exit "$status"
