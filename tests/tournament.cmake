# Tests of the player database, squads, team names, match sides and the match
# record (the database test
# program copies the generated database into its own data folder).
korvena_test(test_tournament
  SOURCES
    tournament/tournament_env.cpp
    tournament/database_test.cpp
    tournament/tla_test.cpp
    tournament/team_test.cpp
    tournament/history_test.cpp
    tournament/draw_test.cpp
    tournament/squad_numbers_test.cpp
  DEPS korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_frontend korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform)
add_dependencies(test_tournament data)

# The database generator on copies of its sources.
korvena_test(test_dbgen SOURCES tournament/tournament_env.cpp tournament/dbgen_test.cpp DEPS korvena_platform)
add_dependencies(test_dbgen dbgen data)


# Whole history-mode campaigns through the tournament flow.
korvena_test(test_tmflow
  SOURCES
    tournament/tournament_env.cpp
    tournament/campaign_driver.cpp
    tournament/tmflow_test.cpp
    tournament/best_third_test.cpp
    tournament/tmsave_test.cpp
    tournament/tmsave_team_test.cpp
    tournament/ticktape_test.cpp
    tournament/fixture_pairs_test.cpp
  DEPS korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_frontend korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform)
add_dependencies(test_tmflow data)

# The year-file generator over broken copies of the edition sources.
korvena_test(test_tmgen SOURCES tournament/tournament_env.cpp tournament/tmgen_test.cpp DEPS korvena_platform)
add_dependencies(test_tmgen tmgen data)
