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
