# Set-piece scripts: the script machine and the generated script table.
include(${CMAKE_SOURCE_DIR}/tools/setpieces.cmake)
list(APPEND ENGINE_SOURCES
  spscript_core.cpp
  spscript.cpp
  setp.cpp
  sptab.cpp
  setp_handlers.cpp
  spcorn.cpp
  spfk.cpp
  spgk.cpp
  sphands.cpp
  spko.cpp
  sppen.cpp
  spthrow.cpp
  ${KORVENA_SETPIECE_SOURCES})
