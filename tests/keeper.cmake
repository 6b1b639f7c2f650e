# The goalkeepers on a match set up without the match flow.
korvena_test(keeper_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/keeper_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/keeper_play_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/keeper_penalty_test.cpp
  DEPS korvena_engine korvena_shell)
# The keepers in the open-play sandbox.
korvena_test(keeper_sandbox_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/sandbox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/keeper_sandbox_test.cpp
  DEPS korvena_engine korvena_shell)
add_dependencies(keeper_sandbox_tests data)  # the squads come from the generated player database
