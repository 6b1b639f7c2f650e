# The restart modes over the engine's test match, with a pause menu that
# records its resume operation.
korvena_test(test_restart
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/restart_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform)
add_dependencies(test_restart data)
# Restarts in whole matches through the match harness.
korvena_test(test_restart_match
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/matchflow/restart_match_test.cpp
  DEPS korvena_match_harness korvena_shell)
add_dependencies(test_restart_match data)
# A person's keeper at his keeper's ball: the stick and the keys on their own,
# and whole matches in which he waits with the ball.
korvena_test(test_keeper_hands
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/keeper_hands_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform)
add_dependencies(test_keeper_hands data)
korvena_test(test_keeper_hands_match
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/matchflow/keeper_hands_match_test.cpp
  DEPS korvena_match_harness korvena_shell)
add_dependencies(test_keeper_hands_match data)
