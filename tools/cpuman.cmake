# The computer manager's change table: cpumangen checks
# assets/match/cpuman.txt against the formations and writes the table into
# the build tree. Included from the engine's source list.
include_guard(GLOBAL)

add_library(cpumangen_core STATIC ${CMAKE_SOURCE_DIR}/tools/cpuman/cpumangen_core.cpp)
target_compile_features(cpumangen_core PUBLIC cxx_std_20)
target_compile_options(cpumangen_core PRIVATE -Wall -Wextra)
target_include_directories(cpumangen_core PUBLIC ${CMAKE_SOURCE_DIR}/tools)
add_executable(cpumangen ${CMAKE_SOURCE_DIR}/tools/cpuman/cpumangen.cpp)
target_link_libraries(cpumangen PRIVATE cpumangen_core)
target_compile_options(cpumangen PRIVATE -Wall -Wextra)
set_target_properties(cpumangen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_CPUMAN_GENERATED ${CMAKE_BINARY_DIR}/generated/engine)
file(MAKE_DIRECTORY ${KORVENA_CPUMAN_GENERATED})
set(KORVENA_CPUMAN_SOURCES ${KORVENA_CPUMAN_GENERATED}/cpuman_table.cpp)
add_custom_command(
  OUTPUT ${KORVENA_CPUMAN_GENERATED}/cpuman_table.cpp
  COMMAND cpumangen ${CMAKE_SOURCE_DIR}/assets/match/cpuman.txt ${CMAKE_SOURCE_DIR}/assets/match/formations.txt
          ${KORVENA_CPUMAN_GENERATED}/cpuman_table.cpp
  DEPENDS cpumangen ${CMAKE_SOURCE_DIR}/assets/match/cpuman.txt ${CMAKE_SOURCE_DIR}/assets/match/formations.txt
  COMMENT "Checking and generating the computer manager's change table"
  VERBATIM)
