# The goalkeepers: their records, state machine, positioning, save tables and
# the body-against-ball test.
list(APPEND ENGINE_SOURCES
  colmodl.cpp
  newgoal.cpp
  newgoal_pos.cpp
  newgoal_tables.cpp
  newgoalo.cpp)
