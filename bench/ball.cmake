# The ball's path prediction, the chaser choice and one flight step.
korvena_bench(bench_ball SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/bench_ball.cpp DEPS korvena_shell)
