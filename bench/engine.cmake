# Match engine: the movement pass of 22 players and the referee, the skeleton
# of one player's frame.
korvena_bench(bench_engine
  SOURCES engine/bench_move.cpp ${CMAKE_SOURCE_DIR}/tests/engine/engine_env.cpp
  DEPS korvena_engine korvena_shell)
target_include_directories(bench_engine PRIVATE ${CMAKE_SOURCE_DIR}/tests/engine)
# The goalkeepers: both keepers' tick and the body-against-ball test.
korvena_bench(bench_keeper
  SOURCES engine/bench_keeper.cpp ${CMAKE_SOURCE_DIR}/tests/engine/engine_env.cpp
  DEPS korvena_engine korvena_shell)
target_include_directories(bench_keeper PRIVATE ${CMAKE_SOURCE_DIR}/tests/engine)
