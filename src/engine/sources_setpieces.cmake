# Set-piece scripts: the script machine and the generated script table.
include(${CMAKE_SOURCE_DIR}/tools/setpieces.cmake)
list(APPEND ENGINE_SOURCES
  spscript_core.cpp
  setp.cpp
  sptab.cpp
  ${KORVENA_SETPIECE_SOURCES})
