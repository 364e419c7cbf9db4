#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz) and runs each for SECONDS (default 60), starting
# from the seeds in tests/fuzz/corpus/TARGET and the dictionary of the file formats. New inputs
# collect in build-fuzz/corpus/TARGET; a crash or leak stops the campaign with its reproducer in
# build-fuzz/findings (a single input running over two minutes counts as a hang). Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is not installed (apt-get install clang libclang-rt-14-dev); nothing fuzzed"
    exit 0
fi
# The sanitizers of a debug build find more; optimised enough to run fast.
mkdir -p build-fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLINTARO_FUZZ=ON -DLINTARO_TESTS=OFF -DLINTARO_WERROR=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(cd tests/fuzz/corpus && ls -d */ | tr -d /)
fi
if ! cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}" >build-fuzz/build.log 2>&1; then
    tail -30 build-fuzz/build.log
    exit 1
fi

mkdir -p build-fuzz/findings
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$PWD/.ci/lsan.supp"
failed=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t
    mkdir -p "$corpus"
    cp -n tests/fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
    log=build-fuzz/fuzz_$t.log
    if build-fuzz/bin/fuzz_"$t" "$corpus" -dict=tests/fuzz/lintaro.dict -max_total_time="$seconds" \
        -max_len=65536 -timeout=120 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/findings/"$t"- >"$log" 2>&1; then
        execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
        cov=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -o 'cov: [0-9]*' || true)
        echo "fuzz $t: ${seconds}s, ${execs:-?} executions, ${cov:-cov: ?}, no finding"
    else
        echo "fuzz $t: FINDING, see $log and build-fuzz/findings/"
        grep -E 'ERROR|SUMMARY|runtime error|error in line' "$log" | head -5 || true
        failed=1
    fi
done
exit $failed
