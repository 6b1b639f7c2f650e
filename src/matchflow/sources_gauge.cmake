# The set-piece power gauge.
list(APPEND MATCHFLOW_SOURCES gauge.cpp)
