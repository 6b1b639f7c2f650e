# The touch machine and the ball holder's actions, on a match set up without
# the match flow.
korvena_test(touch_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/touch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/holder_test.cpp
  DEPS korvena_engine korvena_shell)
add_dependencies(touch_tests data)  # the open-play run reads the generated player database
