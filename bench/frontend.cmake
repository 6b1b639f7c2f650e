# The frame packet's draw list: filling and releasing a busy frame.
korvena_bench(bench_frontend SOURCES frontend/frame_bench.cpp
  DEPS korvena_scene3d korvena_frontend korvena_shell korvena_audio korvena_tournament korvena_display korvena_framework korvena_platform)
