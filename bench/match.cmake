# Whole matches through the headless match harness.
include(${CMAKE_SOURCE_DIR}/tests/support/match_harness.cmake)
korvena_bench(bench_match SOURCES match/match_bench.cpp DEPS korvena_match_harness)
