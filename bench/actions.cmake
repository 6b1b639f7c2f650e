# The computer's open play: the action pass and a whole sandbox tick.
korvena_bench(bench_actions
  SOURCES
    actions/bench_actions.cpp
    ${CMAKE_SOURCE_DIR}/tests/engine/engine_env.cpp
    ${CMAKE_SOURCE_DIR}/tests/engine/sandbox.cpp
  DEPS korvena_engine korvena_shell)
target_include_directories(bench_actions PRIVATE ${CMAKE_SOURCE_DIR}/tests/engine)
# The squads come from the generated player database of this tree.
target_compile_definitions(bench_actions PRIVATE KORVENA_BENCH_BUILD_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(bench_actions data)
