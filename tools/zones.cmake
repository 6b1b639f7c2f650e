# Zone table, role table and support grid: zonegen checks the sources of
# assets/match and writes C++ tables into the build tree. Included from the
# engine's source list; the guard makes later includes no-ops.
include_guard(GLOBAL)

add_library(zonegen_core STATIC ${CMAKE_SOURCE_DIR}/tools/zones/zonegen_core.cpp)
target_compile_features(zonegen_core PUBLIC cxx_std_20)
target_compile_options(zonegen_core PRIVATE -Wall -Wextra)
target_include_directories(zonegen_core PUBLIC ${CMAKE_SOURCE_DIR}/tools/zones)
add_executable(zonegen ${CMAKE_SOURCE_DIR}/tools/zones/zonegen.cpp)
target_link_libraries(zonegen PRIVATE zonegen_core)
target_compile_options(zonegen PRIVATE -Wall -Wextra)
set_target_properties(zonegen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_ZONE_GENERATED ${CMAKE_BINARY_DIR}/generated/engine)
file(MAKE_DIRECTORY ${KORVENA_ZONE_GENERATED})
set(KORVENA_ZONE_SOURCES
  ${KORVENA_ZONE_GENERATED}/zone_boxes.cpp
  ${KORVENA_ZONE_GENERATED}/zone_roles.cpp
  ${KORVENA_ZONE_GENERATED}/grid_support.cpp)
add_custom_command(
  OUTPUT ${KORVENA_ZONE_GENERATED}/zone_boxes.cpp ${KORVENA_ZONE_GENERATED}/zone_roles.cpp
  COMMAND zonegen --zones ${CMAKE_SOURCE_DIR}/assets/match/zones.txt ${KORVENA_ZONE_GENERATED}
  DEPENDS zonegen ${CMAKE_SOURCE_DIR}/assets/match/zones.txt
  COMMENT "Generating and checking the zone table"
  VERBATIM)
add_custom_command(
  OUTPUT ${KORVENA_ZONE_GENERATED}/grid_support.cpp
  COMMAND zonegen --grid ${CMAKE_SOURCE_DIR}/assets/match/support_grid.txt ${KORVENA_ZONE_GENERATED}
  DEPENDS zonegen ${CMAKE_SOURCE_DIR}/assets/match/support_grid.txt
  COMMENT "Generating and checking the support grid"
  VERBATIM)
