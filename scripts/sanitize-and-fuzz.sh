#!/usr/bin/env bash
# The unit and window tests once more, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each parser's fuzzer for a while from its seed corpus.
# Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-sanitize}
seconds=${FUZZ_SECONDS:-60}

# -O1 with line tables only: the sanitizers' usual setting, and it builds a minute faster on
# two cores than full optimisation with full debug information.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" -DCMAKE_CXX_COMPILER=clang++ \
    -DKELVARION_SANITIZE=ON -DKELVARION_FUZZ=ON -DKELVARION_BENCH=OFF
# Only what the unit and window tests and the fuzzers run: the audio tests stay out.
targets=(kelvarion)
for name in $(cd "$build" && ctest -N -L 'unit|gui' | sed -n 's/^ *Test *#[0-9]*: \(test_[a-z]*_\(unit\|gui\)\)$/\1/p'); do
    targets+=("$name")
done
for source in fuzz/*Fuzz.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("fuzz_${name,,}")
done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# Qt's own libraries are not instrumented and keep caches to the end: leaks are not findings.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && ctest --output-on-failure -L 'unit|gui')

seeds="$build/fuzz/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{measurementfile,inifile,languagefile,freqlist}
cp examples/*.aud examples/*.aur "$seeds/measurementfile/"
cp res/*.lng "$seeds/languagefile/"
printf '[Settings]\nFrequency List=0\nMinimum Level=0\nMaximum Level=80\nDelta Level=2\nLang=pl\nFrequency Other List=1000,2000,500\n' \
    > "$seeds/inifile/kelvarion.ini"
cp res/*.lng "$seeds/inifile/"
for list in "450,500,1000,1900,2000" "1000,2000,500" "20,20000" "500, 1000 ,2000" "10,abc,30000"; do
    printf '%s' "$list" > "$seeds/freqlist/$(printf '%s' "$list" | md5sum | cut -c1-8)"
done

for name in measurementfile inifile languagefile freqlist; do
    corpus="$build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    echo "== fuzz_${name}fuzz for ${seconds} s"
    (cd "$build/fuzz" && QT_QPA_PLATFORM=offscreen "./fuzz_${name}fuzz" -max_total_time="$seconds" \
        -print_final_stats=1 -detect_leaks=0 -artifact_prefix="$PWD/crash-$name-" "$PWD/corpus/$name" "$PWD/seeds/$name" 2>&1 |
        grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::number_of_executed_units|ERROR|check failed|SUMMARY' || true)
    if compgen -G "$build/fuzz/crash-$name-*" > /dev/null; then
        echo "fuzz_${name}fuzz found an input that fails: $(ls "$build"/fuzz/crash-"$name"-*)"
        exit 1
    fi
done
echo "sanitized tests and fuzzing: no findings"
