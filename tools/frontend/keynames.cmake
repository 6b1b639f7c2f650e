# The controls screen's key-name table: the generator checks
# assets/frontend/keynames.txt against the presets and the English texts
# and writes the C++ table compiled into the front end.
include_guard(GLOBAL)

add_executable(genkeynames ${CMAKE_SOURCE_DIR}/tools/frontend/genkeynames.cpp)
target_compile_features(genkeynames PRIVATE cxx_std_20)
target_compile_options(genkeynames PRIVATE -Wall -Wextra)
target_include_directories(genkeynames PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(genkeynames PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_KEYNAMES_SOURCE ${CMAKE_BINARY_DIR}/generated/frontend/keynames_data.cpp)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated/frontend)
add_custom_command(
  OUTPUT ${KORVENA_KEYNAMES_SOURCE}
  COMMAND genkeynames ${CMAKE_SOURCE_DIR}/assets/frontend/keynames.txt
          ${CMAKE_SOURCE_DIR}/assets/texts/frontend/en.txt ${KORVENA_KEYNAMES_SOURCE}
  DEPENDS genkeynames ${CMAKE_SOURCE_DIR}/assets/frontend/keynames.txt
          ${CMAKE_SOURCE_DIR}/assets/texts/frontend/en.txt ${CMAKE_SOURCE_DIR}/src/frontend/pccontrols.h
  COMMENT "Generating the key-name table"
  VERBATIM)
