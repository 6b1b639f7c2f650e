# Match start, kick-off, period break, period end, celebration, shoot-out and
# the front-end modes around a match.
list(APPEND MATCHFLOW_SOURCES matchflow.cpp)
list(APPEND MATCHFLOW_SOURCES matchstate.cpp)
list(APPEND MATCHFLOW_SOURCES matchflow_front.cpp)
list(APPEND MATCHFLOW_SOURCES kickoff.cpp)
list(APPEND MATCHFLOW_SOURCES periodbreak.cpp)
list(APPEND MATCHFLOW_SOURCES mftime.cpp)
list(APPEND MATCHFLOW_SOURCES celebrate.cpp)
list(APPEND MATCHFLOW_SOURCES mpenso.cpp)
