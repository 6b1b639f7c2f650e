# Match engine: the movement pass of 22 players and the referee, the skeleton
# of one player's frame.
korvena_bench(bench_engine
  SOURCES engine/bench_move.cpp ${CMAKE_SOURCE_DIR}/tests/engine/engine_env.cpp
  DEPS korvena_engine korvena_shell)
target_include_directories(bench_engine PRIVATE ${CMAKE_SOURCE_DIR}/tests/engine)
