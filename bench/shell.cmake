# Game shell: start-up to the first front-end frame, headless.
korvena_bench(bench_shell
  SOURCES shell/bench_startup.cpp
  DEPS korvena_shell korvena_scene3d korvena_audio korvena_tournament korvena_frontend korvena_display
       korvena_framework korvena_platform)
target_compile_definitions(bench_shell PRIVATE KORVENA_BENCH_BIN_DIR="${KORVENA_BIN_DIR}")
add_dependencies(bench_shell data)

# The frame loop idling at the main menu on the SDL backend, real clock.
korvena_bench(bench_idle
  SOURCES shell/bench_idle.cpp
  DEPS korvena_shell korvena_scene3d korvena_audio korvena_tournament korvena_frontend korvena_display
       korvena_framework korvena_platform)
target_compile_definitions(bench_idle PRIVATE KORVENA_BENCH_BIN_DIR="${KORVENA_BIN_DIR}")
add_dependencies(bench_idle data)
