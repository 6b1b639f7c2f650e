# Zones and roles, cover maps, the support grid, the offside line, passing
# and shot choice. The zone table, the role table and the support grid are
# generated from assets/match by zonegen.
include(${CMAKE_SOURCE_DIR}/tools/zones.cmake)
list(APPEND ENGINE_SOURCES
  cover.cpp
  grid.cpp
  offside.cpp
  roles.cpp
  shtpass.cpp
  aiopt.cpp
  zone.cpp
  ${KORVENA_ZONE_SOURCES})
# The cover tables are built at compile time; clang's default constexpr step
# budget is too small for them (gcc's is not).
set_source_files_properties(cover.cpp PROPERTIES
  COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:Clang>:-fconstexpr-steps=50000000>")
