#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The unit and window tests once more, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each parser's fuzzer. Any finding fails the run.
#
#   scripts/sanitize-and-fuzz.sh [build folder]
#       the sanitized tests, each fuzzer's committed corpus replayed, then a seeded search of a
#       fixed number of runs: the same commit gets the same verdict on every machine
#   scripts/sanitize-and-fuzz.sh [build folder] --build-and-fuzz
#       the build (its output shown only when it fails) and the fuzzers, which need nothing
#       the normal tests use, so that they can run while those wait for sound
#   scripts/sanitize-and-fuzz.sh [build folder] --tests-only
#       only the sanitized tests, on a build made before
#   scripts/sanitize-and-fuzz.sh [build folder] --explore
#       only the fuzzers, each searching for FUZZ_SECONDS (default 60); what they find new is
#       kept in <build folder>/fuzz/found/ for the next search
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}
mode=${2:-}
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:-4000}
harnesses=(measurementfile inifile languagefile freqlist)

# -O1 with line tables only: the sanitizers' usual setting, and it builds a minute faster on
# two cores than full optimisation with full debug information.
if [ "$mode" != --tests-only ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" \
        -DCMAKE_CXX_COMPILER=clang++ -DKELVARION_SANITIZE=ON -DKELVARION_FUZZ=ON > /dev/null
    # Only what the unit and window tests and the fuzzers run: the audio tests stay out.
    targets=()
    for name in "${harnesses[@]}"; do
        targets+=("fuzz_${name}fuzz")
    done
    if [ "$mode" != --explore ]; then
        targets+=(kelvarion)
        for name in $(cd "$build" && ctest -N -L 'unit|gui' | sed -n 's/^ *Test *#[0-9]*: \(test_[a-z]*_\(unit\|gui\)\)$/\1/p'); do
            targets+=("$name")
        done
    fi
    if [ "$mode" = --build-and-fuzz ]; then
        cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" > "$build/build.log" 2>&1 ||
            { cat "$build/build.log"; exit 1; }
    else
        cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
    fi
fi

# Qt's own libraries are not instrumented and keep caches to the end: leaks are not findings.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ -z "$mode" ] || [ "$mode" = --tests-only ]; then
    (cd "$build" && ctest --output-on-failure -L 'unit|gui')
    [ "$mode" != --tests-only ] || { echo "sanitized tests: passed"; exit 0; }
fi

# The committed corpus, with every input that ever found a fault, and the files the program
# ships, which change with it.
fuzz=$(cd "$build" && pwd)/fuzz
seeds=$fuzz/seeds
rm -rf "$seeds"
for name in "${harnesses[@]}"; do
    mkdir -p "$seeds/$name"
    cp fuzz/corpus/"$name"/* "$seeds/$name/"
done
cp examples/*.aud examples/*.aur "$seeds/measurementfile/"
cp res/*.lng "$seeds/languagefile/"
cp res/*.lng "$seeds/inifile/"

# Qt seeds its hashes at random; the search must not follow.
export QT_HASH_SEED=0 QT_QPA_PLATFORM=offscreen
# One parser's fuzzer; returns 1 when it finds an input that fails.
fuzz_one() {
    local name=$1
    local program=$fuzz/fuzz_${name}fuzz
    rm -f "$fuzz"/crash-"$name"-*
    local options=(-detect_leaks=0 -print_final_stats=1 -artifact_prefix="$fuzz/crash-$name-")
    local search
    if [ "$mode" = --explore ]; then
        mkdir -p "$fuzz/found/$name"
        echo "== ${program##*/} searching for ${seconds} s"
        search=(-max_total_time="$seconds" "$fuzz/found/$name" "$seeds/$name")
    else
        echo "== ${program##*/}: the corpus, then ${runs} runs from seed 1"
        # The search starts from the same inputs every time, never from what an earlier run found.
        rm -rf "$fuzz/work/$name"
        mkdir -p "$fuzz/work/$name"
        cp "$seeds/$name"/* "$fuzz/work/$name/"
        (cd "$fuzz" && "$program" -runs=0 "${options[@]}" "$seeds/$name" 2>&1 |
            grep -E '^#[0-9]+[[:space:]]+INITED|ERROR|check failed|SUMMARY' || true)
        search=(-seed=1 -runs="$runs" "$fuzz/work/$name")
    fi
    if ! compgen -G "$fuzz/crash-$name-*" > /dev/null; then
        (cd "$fuzz" && "$program" "${options[@]}" "${search[@]}" 2>&1 |
            grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::number_of_executed_units|ERROR|check failed|SUMMARY' || true)
    fi
    if compgen -G "$fuzz/crash-$name-*" > /dev/null; then
        echo "${program##*/} found an input that fails: $(ls "$fuzz"/crash-"$name"-*)"
        echo "Once mended, keep it as a regression: cp <input> fuzz/corpus/$name/"
        return 1
    fi
}

# Each fuzzer runs on one core; they run side by side and report in a fixed order.
pids=()
for name in "${harnesses[@]}"; do
    fuzz_one "$name" > "$fuzz/$name.out" 2>&1 &
    pids+=($!)
done
found=0
for i in "${!harnesses[@]}"; do
    wait "${pids[i]}" || found=1
    cat "$fuzz/${harnesses[i]}.out"
done
[ "$found" -eq 0 ] || exit 1
echo "fuzzing: no findings"
