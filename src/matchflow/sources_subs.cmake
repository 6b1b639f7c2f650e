# Substitutions and the formation change.
list(APPEND MATCHFLOW_SOURCES
  subs.cpp
  mformation.cpp)
