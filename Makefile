# Thin front door over CMake presets. See README.md.
JOBS ?= $(shell nproc)

.PHONY: play test bench data deps build-release build-test fuzz soak

deps:
	scripts/install-deps

build-release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

play: build-release
	cd build/release/bin && ./korvena

data: deps
	cmake --preset release
	cmake --build --preset release --target data -j $(JOBS)

build-test: deps
	cmake --preset test
	cmake --build --preset test -j $(JOBS)

test: build-test
	ctest --preset test -j $(JOBS)

bench: deps
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	@status=0; for b in build/bench/bench/bench_*; do \
	  if [ -x "$$b" ]; then echo "== $$b"; "$$b" || status=1; fi; \
	done; exit $$status

# libFuzzer programs (clang), each run for SECONDS seconds.
SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz --target fuzz -j $(JOBS)
	scripts/fuzz-run build/fuzz $(SECONDS) $(TARGETS)

# Seeded whole matches between computer sides in the release tree, SOAK seeds
# for each match length (5, 10 and 15 minutes; 400 by default), and a quarter
# as many with a person on one side: each match's statistics at full time,
# per length and over all, mean and standard error beside football's band.
# Fails when a band is out, but for corners and penalties: the game's rules
# hold them out of football's bands, and they are reported in a section of
# their own. SOAK_JOBS worker processes (default: all processors);
# SOAK_CSV=path writes one line a match.
SOAK ?= 400
soak: deps
	cmake --preset release -DKORVENA_SOAK=ON
	cmake --build --preset release --target match_soak -j $(JOBS)
	cd build/release && KORVENA_BACKEND=headless KORVENA_BUILD_DIR=$$PWD ./tests/match_soak $(SOAK)
