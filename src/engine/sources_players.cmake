# Players, their accessors and initialisation, the animation table and state,
# movement states and events.
list(APPEND ENGINE_SOURCES
  anim.cpp
  anim_table.cpp
  move.cpp
  movefn.cpp
  movetackle.cpp
  player.cpp
  playerO.cpp
  plyrInit.cpp)
