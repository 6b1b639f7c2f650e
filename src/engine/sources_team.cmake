# Match sides: lists, formation matching, numbers, suspensions, swaps.
list(APPEND ENGINE_SOURCES team_lists.cpp team_actions.cpp)
