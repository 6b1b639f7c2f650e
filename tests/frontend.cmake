# Tests of the frame packet, the front-end state, regions, the list control,
# text output and the main menu.
korvena_test(test_frontend
  SOURCES
    frontend/frontend_env.cpp
    frontend/frame_packet_test.cpp
    frontend/pcfe_test.cpp
    frontend/regions_test.cpp
    frontend/listctrl_test.cpp
    frontend/pctext_test.cpp
    frontend/mainmenu_test.cpp
    frontend/overlay_test.cpp
    frontend/controls_test.cpp
    frontend/help_test.cpp
    frontend/history_setup_test.cpp
    frontend/sides_test.cpp
    frontend/history_hub_test.cpp
    frontend/history_fixtures_test.cpp
    frontend/text_glyphs_test.cpp
  DEPS korvena_frontend korvena_scene3d korvena_shell korvena_audio korvena_tournament korvena_display korvena_framework korvena_platform)
add_dependencies(test_frontend data)

# The whole game from a clean data tree through the conversion to the menu.
# SERIAL: the run that converts the sheets again removes the converted sheets
# every other run of the game reads.
korvena_test(test_frontend_run SERIAL SOURCES frontend/menu_run_test.cpp DEPS korvena_platform)
add_dependencies(test_frontend_run korvena data)

# The front-end art generator's word list, good and damaged.
korvena_test(test_frontend_fegen SOURCES frontend/fegen_test.cpp DEPS korvena_platform)
add_dependencies(test_frontend_fegen korvena_fegen)

# The controls screen's key-name generator, good and damaged lists.
korvena_test(test_frontend_keynames SOURCES frontend/keynames_test.cpp DEPS korvena_platform)
add_dependencies(test_frontend_keynames genkeynames)

# Team selection and the team sheet over the real tables and database.
include(${CMAKE_SOURCE_DIR}/tests/support/match_harness.cmake)
korvena_test(test_teamsel
  SOURCES
    frontend/teamsel_test.cpp
    frontend/teamsheet_test.cpp
    frontend/history_match_test.cpp
    frontend/squadpages_test.cpp
  DEPS korvena_match_harness korvena_shell)
add_dependencies(test_teamsel data)

# The save and load screens over campaigns played by the tournament's driver.
korvena_test(test_pcsave
  SOURCES
    tournament/campaign_driver.cpp
    frontend/pcsave_test.cpp
  DEPS korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform)
target_include_directories(test_pcsave PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tournament)
add_dependencies(test_pcsave data)

# The quick match with the player database (the match harness sets it up).
korvena_test(test_quick_match SOURCES frontend/quickmatch_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_quick_match data)

# The quick-match table generator refusing bad tables.
korvena_test(test_quickgen SOURCES frontend/quickgen_test.cpp DEPS korvena_platform)
add_dependencies(test_quickgen korvena_quickgen)

# A friendly set up from the map and the team sheet in the whole game.
korvena_test(test_teamsel_run SOURCES frontend/teamsel_run_test.cpp DEPS korvena_platform)
target_include_directories(test_teamsel_run PRIVATE ${CMAKE_SOURCE_DIR}/src)
add_dependencies(test_teamsel_run korvena data)

# Histories played in this process through the game's frame loop.
korvena_test(test_history_run
  SOURCES
    support/history_driver.cpp
    frontend/history_run_test.cpp
  DEPS -Wl,--start-group korvena_options korvena_shell korvena_scene3d korvena_audio korvena_tournament korvena_frontend korvena_matchflow korvena_engine korvena_display korvena_framework korvena_platform -Wl,--end-group)
add_dependencies(test_history_run korvena data)

# A history match played for real through the screens (long: it runs first).
korvena_test(test_history_real_match
  COST 1000
  SOURCES
    support/history_driver.cpp
    frontend/history_real_match_test.cpp
  DEPS -Wl,--start-group korvena_options korvena_shell korvena_scene3d korvena_audio korvena_tournament korvena_frontend korvena_matchflow korvena_engine korvena_display korvena_framework korvena_platform -Wl,--end-group)
add_dependencies(test_history_real_match korvena data)

# The results ticker in history matches played through the screens (long).
korvena_test(test_ticker_run
  COST 500
  SOURCES
    support/history_driver.cpp
    frontend/ticker_run_test.cpp
  DEPS -Wl,--start-group korvena_options korvena_shell korvena_scene3d korvena_audio korvena_tournament korvena_frontend korvena_matchflow korvena_engine korvena_display korvena_framework korvena_platform -Wl,--end-group)
add_dependencies(test_ticker_run korvena data)

# The history's editions and its news screen over the generated year files.
korvena_test(test_history_news
  SOURCES
    tournament/campaign_driver.cpp
    frontend/history_edition_test.cpp
    frontend/history_news_test.cpp
    frontend/history_news_box_test.cpp
  DEPS korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform)
target_include_directories(test_history_news PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tournament)
add_dependencies(test_history_news data)

# The history groups and tables screen over the generated year files.
korvena_test(test_history_groups
  SOURCES
    tournament/tournament_env.cpp
    tournament/campaign_driver.cpp
    frontend/frontend_env.cpp
    frontend/history_groups_test.cpp
    frontend/history_groups_screen_test.cpp
  DEPS korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform)
target_include_directories(test_history_groups PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tournament)
add_dependencies(test_history_groups data)
