# Year files: tmgen writes the qualifying and finals files of every edition
# and language from assets/tournament/, the team editions and the names, and
# fails the build on any inconsistency.
add_executable(tmgen ${CMAKE_SOURCE_DIR}/tools/tournament/tmgen.cpp)
target_compile_features(tmgen PRIVATE cxx_std_20)
target_compile_options(tmgen PRIVATE -Wall -Wextra)
target_include_directories(tmgen PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(tmgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(KORVENA_TM_STAMP ${CMAKE_BINARY_DIR}/generated/tournament/yearfiles.stamp)
file(GLOB KORVENA_TM_ASSETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/tournament/*.txt
  ${CMAKE_SOURCE_DIR}/assets/texts/frontend/*.txt)
add_custom_command(
  OUTPUT ${KORVENA_TM_STAMP}
  COMMAND tmgen ${CMAKE_SOURCE_DIR}/assets ${KORVENA_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVENA_TM_STAMP}
  DEPENDS tmgen ${KORVENA_TM_ASSETS}
    ${CMAKE_SOURCE_DIR}/assets/database/teams.txt
    ${CMAKE_SOURCE_DIR}/assets/texts/teams/all.txt
    ${CMAKE_SOURCE_DIR}/src/tournament/fixture_lists.h
  COMMENT "Generating the year files"
  VERBATIM)
add_custom_target(korvena_yearfiles DEPENDS ${KORVENA_TM_STAMP})
add_dependencies(data korvena_yearfiles)
