# History tree: pools and globals, year files, fixtures, simulated results,
# tables and places, new qualifiers and the roll of honour.
list(APPEND TOURNAMENT_SOURCES tmtree.cpp yearfile.cpp fixtures.cpp result.cpp tmteam.cpp)
