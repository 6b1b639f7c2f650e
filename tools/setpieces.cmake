# Set-piece scripts: spasm checks assets/setpieces/scripts.txt and writes the
# script table into the build tree. Included from the engine's source list;
# the guard makes later includes no-ops.
include_guard(GLOBAL)

add_library(spasm_core STATIC ${CMAKE_SOURCE_DIR}/tools/setpieces/spasm_core.cpp)
target_compile_features(spasm_core PUBLIC cxx_std_20)
target_compile_options(spasm_core PRIVATE -Wall -Wextra)
target_include_directories(spasm_core PUBLIC ${CMAKE_SOURCE_DIR}/tools/setpieces)
add_executable(spasm ${CMAKE_SOURCE_DIR}/tools/setpieces/spasm.cpp)
target_link_libraries(spasm PRIVATE spasm_core)
target_compile_options(spasm PRIVATE -Wall -Wextra)
set_target_properties(spasm PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_SETPIECE_GENERATED ${CMAKE_BINARY_DIR}/generated/engine)
file(MAKE_DIRECTORY ${KORVENA_SETPIECE_GENERATED})
set(KORVENA_SETPIECE_SOURCES ${KORVENA_SETPIECE_GENERATED}/spscript_list.cpp)
add_custom_command(
  OUTPUT ${KORVENA_SETPIECE_GENERATED}/spscript_list.cpp ${KORVENA_SETPIECE_GENERATED}/spscript_list.txt
  COMMAND spasm ${CMAKE_SOURCE_DIR}/assets/setpieces/scripts.txt ${KORVENA_SETPIECE_GENERATED}/spscript_list.cpp
          --list ${KORVENA_SETPIECE_GENERATED}/spscript_list.txt
  DEPENDS spasm ${CMAKE_SOURCE_DIR}/assets/setpieces/scripts.txt
  COMMENT "Assembling and checking the set-piece scripts"
  VERBATIM)

# Set-piece position tables: sptabgen checks assets/setpieces/positions.txt
# against the zone source and writes the three tables.
include(${CMAKE_SOURCE_DIR}/tools/zones.cmake)
add_library(sptabgen_core STATIC ${CMAKE_SOURCE_DIR}/tools/setpieces/sptabgen_core.cpp)
target_compile_features(sptabgen_core PUBLIC cxx_std_20)
target_compile_options(sptabgen_core PRIVATE -Wall -Wextra)
target_include_directories(sptabgen_core PUBLIC ${CMAKE_SOURCE_DIR}/tools/setpieces)
target_link_libraries(sptabgen_core PUBLIC zonegen_core)
add_executable(sptabgen ${CMAKE_SOURCE_DIR}/tools/setpieces/sptabgen.cpp)
target_link_libraries(sptabgen PRIVATE sptabgen_core)
target_compile_options(sptabgen PRIVATE -Wall -Wextra)
set_target_properties(sptabgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
list(APPEND KORVENA_SETPIECE_SOURCES ${KORVENA_SETPIECE_GENERATED}/sptab_tables.cpp)
add_custom_command(
  OUTPUT ${KORVENA_SETPIECE_GENERATED}/sptab_tables.cpp
  COMMAND sptabgen ${CMAKE_SOURCE_DIR}/assets/setpieces/positions.txt ${CMAKE_SOURCE_DIR}/assets/match/zones.txt
          ${KORVENA_SETPIECE_GENERATED}/sptab_tables.cpp
  DEPENDS sptabgen ${CMAKE_SOURCE_DIR}/assets/setpieces/positions.txt ${CMAKE_SOURCE_DIR}/assets/match/zones.txt
  COMMENT "Generating and checking the set-piece position tables"
  VERBATIM)
