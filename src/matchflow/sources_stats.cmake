# Match clock and periods, statistics and the in-match texts, environment,
# injuries and suspensions; stand-ins for the period-end modes they push.
list(APPEND MATCHFLOW_SOURCES clock.cpp environ.cpp gstatso.cpp injuryg.cpp matchflow_standins.cpp)
