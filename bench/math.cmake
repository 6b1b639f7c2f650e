# Math library benchmarks: ns per call of the hot operations.
korvena_bench(bench_math SOURCES ${CMAKE_CURRENT_LIST_DIR}/math/bench_math.cpp DEPS korvena_math)
