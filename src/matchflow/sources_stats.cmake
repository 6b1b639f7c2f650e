# Match clock and periods, statistics and the in-match texts, environment,
# injuries and suspensions, the match record and its save.
list(APPEND MATCHFLOW_SOURCES clock.cpp environ.cpp gstatso.cpp injuryg.cpp matcha.cpp)
list(APPEND MATCHFLOW_SOURCES matcha_save.cpp)
