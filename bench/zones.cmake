# Zone classes, the option search and the pass choice, and one tick's share.
korvena_bench(bench_zones
  SOURCES engine/bench_zones.cpp ${CMAKE_SOURCE_DIR}/tests/engine/engine_env.cpp
  DEPS korvena_engine korvena_shell)
target_include_directories(bench_zones PRIVATE ${CMAKE_SOURCE_DIR}/tests/engine)
