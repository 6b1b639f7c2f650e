# Display benchmarks: presenting a 640 x 480 x 16 frame on the headless
# backend and through SDL's software renderer (offscreen video driver unless
# SDL_VIDEODRIVER says otherwise).
korvena_bench(bench_display_headless SOURCES ${CMAKE_CURRENT_LIST_DIR}/display/present_bench.cpp DEPS korvena_display)
target_compile_definitions(bench_display_headless PRIVATE KORVENA_BENCH_HEADLESS=1)
korvena_bench(bench_display_sdl SOURCES ${CMAKE_CURRENT_LIST_DIR}/display/present_bench.cpp DEPS korvena_display)
target_compile_definitions(bench_display_sdl PRIVATE KORVENA_BENCH_HEADLESS=0)
