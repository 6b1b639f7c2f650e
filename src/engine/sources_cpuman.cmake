# The computer team manager and its generated change table.
include(${CMAKE_SOURCE_DIR}/tools/cpuman.cmake)
list(APPEND ENGINE_SOURCES
  cpuman.cpp
  ${KORVENA_CPUMAN_SOURCES})
