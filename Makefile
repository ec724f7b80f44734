# SPDX-License-Identifier: GPL-3.0-or-later
# Two commands for a fresh Debian/Ubuntu machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps build run test package sanitize fuzz bench clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run.sh $(BUILD)/kelvarion

# The Debian package, build/kelvarion_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

# The unit and window tests run a second time under a locale whose decimal separator
# is a comma, where number formatting goes wrong first, and a third time built with the
# sanitizers; each parser's fuzzer replays its corpus and runs a seeded search of a fixed
# length, so that a commit passes or fails the same way on every machine.
# The tests spend much of their time waiting for real sound, so the sanitized build and the
# fuzzers run beside them at the lowest priority; the sanitized tests, which wait on real
# time here and there, run after them.
test: build
	@nice -n 19 bash scripts/sanitize-and-fuzz.sh $(BUILD)-sanitize --build-and-fuzz > $(BUILD)/sanitize.log 2>&1 & \
	sanitize=$$!; status=0; \
	(cd $(BUILD) && ctest --output-on-failure) || status=1; \
	(cd $(BUILD) && LC_ALL=pl_PL.UTF-8 LANG=pl_PL.UTF-8 ctest --output-on-failure -L 'unit|gui') || status=1; \
	wait $$sanitize || status=1; \
	cat $(BUILD)/sanitize.log; \
	[ $$status -eq 0 ] && bash scripts/sanitize-and-fuzz.sh $(BUILD)-sanitize --tests-only

# The sanitizer and fuzz step of the tests alone.
sanitize: deps
	bash scripts/sanitize-and-fuzz.sh $(BUILD)-sanitize

# Searches for new faults, FUZZ_SECONDS (default 60) per parser; never part of `make test`.
fuzz: deps
	bash scripts/sanitize-and-fuzz.sh $(BUILD)-sanitize --explore

# The benchmarks, build/bench/kelvarion_bench and the programs of bench/tone_timing.sh and
# bench/startup_time.sh.
bench: build
	cmake --build $(BUILD) -j $(JOBS) --target kelvarion_bench kelvarion_tone_timing kelvarion_startup_time kelvarion_bare_window

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize
