# Drawing primitives, printer and font building.
korvena_bench(bench_draw SOURCES draw/draw_bench.cpp DEPS korvena_display)
target_compile_definitions(bench_draw PRIVATE KORVENA_BENCH_DATA_DIR="${KORVENA_DATA_DIR}")
