# The ball's flight compiled on its own with recording fakes of what it calls.
korvena_test(engine_ball_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/ball_fakes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_ball_flight.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_ball_goal.cpp
    ${CMAKE_SOURCE_DIR}/src/engine/ball.cpp
    ${CMAKE_SOURCE_DIR}/src/engine/ball_flight.cpp
    ${CMAKE_SOURCE_DIR}/src/engine/ball_goal.cpp
    ${CMAKE_SOURCE_DIR}/src/engine/ball_state.cpp
    ${CMAKE_SOURCE_DIR}/src/shell/imath.cpp
  DEPS korvena_math)

# The kick choice tables.
korvena_test(engine_kick_table_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_kick_tables.cpp
    ${CMAKE_SOURCE_DIR}/src/engine/kick_tables.cpp
  DEPS korvena_options)

# Possession, chasers, kicks and strikes with two sides on the pitch.
korvena_test(engine_e2_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/e2_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_possession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_chaser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_kick_strike.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_ball_match.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/test_ball_path.cpp
  DEPS korvena_shell)
