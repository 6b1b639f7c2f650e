# History tree: pools and globals, year files, fixtures, simulated results,
# tables and places, new qualifiers and the roll of honour, stadiums.
include(${CMAKE_SOURCE_DIR}/tools/tournament.cmake)
list(APPEND TOURNAMENT_SOURCES tmtree.cpp yearfile.cpp fixtures.cpp result.cpp tmteam.cpp stadium.cpp
  tmgame.cpp
  tmmain.cpp
  tmsave.cpp
  tmsave_team.cpp
  ticktape.cpp
  ${KORVENA_STADIUM_SOURCE})
