# Formations: the generated formation table and its accessors. The database
# generator that writes the table is set up here, by its first user.
include(${CMAKE_SOURCE_DIR}/tools/database.cmake)
list(APPEND ENGINE_SOURCES formation.cpp ${KORVENA_FORMATION_SOURCE} ${KORVENA_DATABASE_STAMP})
