# Sprite blitter benchmarks: kernel families against row-wise memcpy/std::fill.
korvena_bench(bench_blit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/blit/blit_bench.cpp
  DEPS korvena_display)
