# Text tables: the generator turns the UTF-8 sources of assets/texts/ into the
# Windows-1252 tables compiled into the game shell. Included by the shell's
# source list (which compiles the output); the guard makes the later include
# from tools/ a no-op.
include_guard(GLOBAL)

add_executable(gentexts ${CMAKE_SOURCE_DIR}/tools/texts/gentexts.cpp)
target_compile_features(gentexts PRIVATE cxx_std_20)
target_compile_options(gentexts PRIVATE -Wall -Wextra)
set_target_properties(gentexts PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_TEXTS_DIR ${CMAKE_BINARY_DIR}/generated)
set(KORVENA_TEXTS_SOURCE ${KORVENA_TEXTS_DIR}/shell/texts_data.cpp)
file(MAKE_DIRECTORY ${KORVENA_TEXTS_DIR}/shell)
set(KORVENA_TEXTS_HEADER ${KORVENA_TEXTS_DIR}/shell/texts_data.h)
file(GLOB_RECURSE KORVENA_TEXT_ASSETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/texts/*.txt)
# The generator also checks that every text id the game's sources name has
# English text, so it reruns when a source file changes.
# The rules pages are checked against the editions' qualifying sources.
file(GLOB KORVENA_RULES_EDITIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/tournament/editions/*.txt)
file(GLOB_RECURSE KORVENA_TEXT_USERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)

# The tables are rewritten only when their content changes, so a change
# elsewhere in src/ recompiles nothing; the stamp records the run.
set(KORVENA_TEXTS_STAMP ${KORVENA_TEXTS_DIR}/shell/texts.stamp)
add_custom_command(
  OUTPUT ${KORVENA_TEXTS_STAMP}
  BYPRODUCTS ${KORVENA_TEXTS_SOURCE} ${KORVENA_TEXTS_HEADER}
  COMMAND gentexts ${CMAKE_SOURCE_DIR}/assets/texts ${CMAKE_SOURCE_DIR}/src ${KORVENA_TEXTS_SOURCE} ${KORVENA_TEXTS_HEADER}
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVENA_TEXTS_STAMP}
  DEPENDS gentexts ${KORVENA_TEXT_ASSETS} ${KORVENA_TEXT_USERS} ${KORVENA_RULES_EDITIONS}
  COMMENT "Generating the text tables"
  VERBATIM)
