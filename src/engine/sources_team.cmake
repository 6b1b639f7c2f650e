# Match sides: lists, formation matching, numbers, suspensions, swaps; the
# stand-ins of the roles services they use.
list(APPEND ENGINE_SOURCES team_lists.cpp team_standins.cpp team_actions.cpp)
