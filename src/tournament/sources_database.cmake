# Player database: the database player record and its accessors.
list(APPEND TOURNAMENT_SOURCES dbplayer.cpp)
