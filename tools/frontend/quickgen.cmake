# The quick-match table: korvena_quickgen checks assets/frontend/quickmatch.txt
# against the team names, the player database's editions and the kits, and
# writes it as C++ for the front end's library.
include_guard(GLOBAL)
add_executable(korvena_quickgen ${CMAKE_SOURCE_DIR}/tools/frontend/quickgen.cpp)
target_compile_features(korvena_quickgen PRIVATE cxx_std_20)
target_compile_options(korvena_quickgen PRIVATE -Wall -Wextra)
set_target_properties(korvena_quickgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(KORVENA_QUICKMATCH_SOURCE ${CMAKE_BINARY_DIR}/generated/frontend/quickmatch_data.cpp)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/frontend)
add_custom_command(
  OUTPUT ${KORVENA_QUICKMATCH_SOURCE}
  COMMAND korvena_quickgen --table ${CMAKE_SOURCE_DIR}/assets/frontend/quickmatch.txt
    --names ${CMAKE_SOURCE_DIR}/assets/texts/abbreviations/en.txt
    --teams ${CMAKE_SOURCE_DIR}/assets/database/teams.txt
    --kits ${CMAKE_SOURCE_DIR}/assets/kits/kits.txt --out ${KORVENA_QUICKMATCH_SOURCE}
  DEPENDS korvena_quickgen ${CMAKE_SOURCE_DIR}/assets/frontend/quickmatch.txt
    ${CMAKE_SOURCE_DIR}/assets/texts/abbreviations/en.txt ${CMAKE_SOURCE_DIR}/assets/database/teams.txt
    ${CMAKE_SOURCE_DIR}/assets/kits/kits.txt
  COMMENT "Generating the quick-match table"
  VERBATIM)
