# Player database: the database player record and its accessors, the block
# index and team editions generated with the database, the squad cache, team
# abbreviations and names.
list(APPEND TOURNAMENT_SOURCES dbplayer.cpp dbplayer_penalty.cpp dbindex.cpp squadcache.cpp tla.cpp
  ${CMAKE_BINARY_DIR}/generated/tournament/dbindex_data.cpp
  ${CMAKE_BINARY_DIR}/generated/tournament/dbteams_data.cpp)
