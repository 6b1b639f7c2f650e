# Player database: dbgen turns the sources of assets/database/ and
# assets/match/formations.txt into the database file of the data tree and
# into C++ tables (block index, team editions, formations) compiled into the
# engine and the tournament libraries. Included from the engine's source list,
# whose library compiles the formation table; the guard makes later includes
# no-ops.
include_guard(GLOBAL)

add_executable(dbgen ${CMAKE_SOURCE_DIR}/tools/database/dbgen.cpp)
target_compile_features(dbgen PRIVATE cxx_std_20)
target_compile_options(dbgen PRIVATE -Wall -Wextra)
set_target_properties(dbgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_DATABASE_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(KORVENA_DATABASE_FILE ${KORVENA_DATA_DIR}/database/dump/dump.dat)
set(KORVENA_FORMATION_SOURCE ${KORVENA_DATABASE_GENERATED}/engine/formation_data.cpp)
set(KORVENA_DBINDEX_SOURCES
  ${KORVENA_DATABASE_GENERATED}/tournament/dbindex_data.cpp
  ${KORVENA_DATABASE_GENERATED}/tournament/dbteams_data.cpp)
file(GLOB_RECURSE KORVENA_DATABASE_ASSETS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/database/*.txt)
file(GLOB KORVENA_DATABASE_NAME_TEXTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/texts/abbreviations/*.txt ${CMAKE_SOURCE_DIR}/assets/texts/teams/*.txt)
set(KORVENA_DATABASE_STAMP ${KORVENA_DATABASE_GENERATED}/database.stamp)
add_custom_command(
  OUTPUT ${KORVENA_DATABASE_STAMP}
  BYPRODUCTS ${KORVENA_DATABASE_FILE} ${KORVENA_FORMATION_SOURCE} ${KORVENA_DBINDEX_SOURCES}
  COMMAND dbgen --complete ${CMAKE_SOURCE_DIR}/assets ${KORVENA_DATABASE_FILE} ${KORVENA_DATABASE_GENERATED}
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVENA_DATABASE_STAMP}
  DEPENDS dbgen ${KORVENA_DATABASE_ASSETS}
    ${CMAKE_SOURCE_DIR}/assets/match/formations.txt
    ${KORVENA_DATABASE_NAME_TEXTS}
  COMMENT "Generating the player database"
  VERBATIM)
add_custom_target(korvena_database DEPENDS ${KORVENA_DATABASE_STAMP})
