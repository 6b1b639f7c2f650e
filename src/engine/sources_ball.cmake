# The ball's flight, goal frame and path, possession, kicks, chasers and strikes.
list(APPEND ENGINE_SOURCES
  ball_flight.cpp
  ball_goal.cpp
  ball_path.cpp
  ball_state.cpp
  chaser.cpp
  kick.cpp
  kick_tables.cpp
  newballA.cpp
  target.cpp)
