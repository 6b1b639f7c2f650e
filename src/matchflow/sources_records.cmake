# The replay ring and the records kept beside it.
list(APPEND MATCHFLOW_SOURCES replay.cpp)
