# The referee's judgement, cards, fouls and movements on a match set up
# without the match flow.
korvena_test(referee_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/referee_test.cpp
  DEPS korvena_engine korvena_shell)
add_dependencies(referee_tests data)
