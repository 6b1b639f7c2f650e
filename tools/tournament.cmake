# Year files: tmgen writes the qualifying and finals files of every edition
# and language from assets/tournament/, the team editions and the names, and
# fails the build on any inconsistency; it also writes the stadium table as
# C++. Included from the tournament's source list (whose library compiles the
# table) and from tools/; the guard makes the second include a no-op.
include_guard(GLOBAL)
add_executable(tmgen ${CMAKE_SOURCE_DIR}/tools/tournament/tmgen.cpp)
target_compile_features(tmgen PRIVATE cxx_std_20)
target_compile_options(tmgen PRIVATE -Wall -Wextra)
target_include_directories(tmgen PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(tmgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(KORVENA_TM_STAMP ${CMAKE_BINARY_DIR}/generated/tournament/yearfiles.stamp)
set(KORVENA_STADIUM_SOURCE ${CMAKE_BINARY_DIR}/generated/tournament/stadium_data.cpp)
set(KORVENA_CONFERENCE_SOURCE ${CMAKE_BINARY_DIR}/generated/tournament/conference_data.cpp)
file(GLOB KORVENA_TM_ASSETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/tournament/*.txt
  ${CMAKE_SOURCE_DIR}/assets/tournament/editions/*.txt
  ${CMAKE_SOURCE_DIR}/assets/texts/frontend/*.txt)
add_custom_command(
  OUTPUT ${KORVENA_TM_STAMP} ${KORVENA_STADIUM_SOURCE} ${KORVENA_CONFERENCE_SOURCE}
  COMMAND tmgen ${CMAKE_SOURCE_DIR}/assets ${KORVENA_DATA_DIR} ${KORVENA_STADIUM_SOURCE} ${KORVENA_CONFERENCE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVENA_TM_STAMP}
  DEPENDS tmgen ${KORVENA_TM_ASSETS}
    ${CMAKE_SOURCE_DIR}/assets/database/teams.txt
    ${CMAKE_SOURCE_DIR}/assets/texts/teams/all.txt
    ${CMAKE_SOURCE_DIR}/assets/texts/abbreviations/en.txt
    ${CMAKE_SOURCE_DIR}/src/tournament/fixture_lists.h
  COMMENT "Generating the year files"
  VERBATIM)
add_custom_target(korvena_yearfiles DEPENDS ${KORVENA_TM_STAMP})
