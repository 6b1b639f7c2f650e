# Whole matches through the headless match harness (tests/support): the
# match flow from the set-up to the end, the rules, the shoot-out,
# determinism and the recorded runs.
korvena_test(test_match_flow
  SOURCES
    matchflow/match_run_test.cpp
    matchflow/flow_units_test.cpp
    matchflow/match_record_test.cpp
    matchflow/open_play_test.cpp
    matchflow/controls_match_test.cpp
    matchflow/stand_still_test.cpp
    matchflow/pass_markers_test.cpp
  DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_flow data)
# A whole match counted for heap allocations (the program replaces the
# global operator new).
korvena_test(test_match_alloc SOURCES matchflow/match_alloc_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_alloc data)
# The match statistics per 90 minutes and their bands over seeded matches.
korvena_test(test_match_stats SOURCES matchflow/match_stats_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_stats data)
# A match after another in one process against the same seed in a new one.
korvena_test(test_match_fresh SOURCES matchflow/match_fresh_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_fresh data)
# A match after another (played to full time or quit from the pause menu)
# against the same match played first.
korvena_test(test_match_after_match SOURCES matchflow/match_after_match_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_after_match data)
# Every match's start leaves the state of one match as a new process's does.
korvena_test(test_match_start_state SOURCES matchflow/match_start_state_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_start_state data)
# At full time only a press made once the end choice is drawn chooses.
korvena_test(test_play_again_gap SOURCES matchflow/play_again_choice_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_play_again_gap data)
# Start heard on the tick open play gives way to another mode; the pause
# flag against the pause menu on the stack, after every tick.
korvena_test(test_pause_flag SOURCES matchflow/pause_flag_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_pause_flag data)
# A person's keeper carrying the ball over his own goal line.
korvena_test(test_keeper_carry SOURCES matchflow/keeper_carry_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_keeper_carry data)
# Whole matches with a person on one side (a pass-tapper or the monkey), and
# the computer on both, watched every tick for play left unjudged.
korvena_test(test_person_side SOURCES matchflow/person_side_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_person_side data)
# A throw-in whose throw was cut off before the release: thrown again.
korvena_test(test_throw_in_stand SOURCES matchflow/throw_in_stand_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_throw_in_stand data)
# A person's match paused at each phase that leads to a kick-off or a restart.
korvena_test(test_match_pause SOURCES matchflow/match_pause_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_pause data)
# Start on every tick of a restart's staging, each tried in a forked copy of
# the match: paused where it stands, resumed tick for tick; quit from it.
korvena_test(test_staging_pause SOURCES matchflow/staging_pause_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_staging_pause data)
# The soak's count of a match's faults and the watch's reading of a side's
# commands; its figures, bands and records; the full-time snapshot of seeded
# matches and the worker processes that play them.
korvena_test(test_match_soak SOURCES support/match_soak_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_match_soak data)
# Penalties with a person who waits before his kick, and fouls forced the
# way a tackle gives them: nobody but the taker touches the ball first.
korvena_test(test_penalty_match SOURCES matchflow/penalty_match_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_penalty_match data)
# Both sides at their kick-off places at every kick-off of a match.
korvena_test(test_kickoff_places SOURCES matchflow/kickoff_places_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_kickoff_places data)
# Both keepers on the ground at their places for every kick of a shoot-out.
korvena_test(test_shootout_places SOURCES matchflow/shootout_places_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_shootout_places data)
