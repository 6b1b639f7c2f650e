# The ball record and the match-side record with the accessors the shell uses.
list(APPEND ENGINE_SOURCES ball.cpp team.cpp)
