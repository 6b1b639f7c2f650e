# The restart modes: set pieces, play on, the standing pause and the
# goalkeeper's ball in open play.
list(APPEND MATCHFLOW_SOURCES restart.cpp restart_flow.cpp)
