# The frame packet's draw list: filling and releasing a busy frame.
korvena_bench(bench_frontend SOURCES frontend/frame_bench.cpp
  DEPS korvena_scene3d korvena_frontend korvena_shell korvena_audio korvena_tournament korvena_display korvena_framework korvena_platform)

# The load screen: a full save folder listed, the largest tournament loaded.
korvena_bench(bench_pcsave
  SOURCES frontend/save_bench.cpp ${CMAKE_SOURCE_DIR}/tests/tournament/campaign_driver.cpp
  DEPS -Wl,--start-group korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform -Wl,--end-group)
target_include_directories(bench_pcsave PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/tournament)
add_dependencies(bench_pcsave data)
# The rules pages laid out and drawn with the front end's font.
korvena_bench(bench_frontend_help SOURCES frontend/help_bench.cpp
  DEPS -Wl,--start-group korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform -Wl,--end-group)
add_dependencies(bench_frontend_help data_fonts)
target_compile_definitions(bench_frontend_help PRIVATE KORVENA_BENCH_FONT="${CMAKE_BINARY_DIR}/data/textures/Fonts/SWfont18pt.bmp")

# Team selection's entry and a two-sheet team-sheet frame.
include(${CMAKE_SOURCE_DIR}/tests/support/match_harness.cmake)
korvena_bench(bench_teamsel SOURCES frontend/teamsel_bench.cpp DEPS korvena_match_harness)

# One history news frame on the results page of the largest edition.
korvena_bench(bench_frontend_news
  SOURCES frontend/news_bench.cpp ${CMAKE_SOURCE_DIR}/tests/tournament/campaign_driver.cpp
  DEPS -Wl,--start-group korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform -Wl,--end-group)
target_include_directories(bench_frontend_news PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/tournament)
add_dependencies(bench_frontend_news data data_fonts)
target_compile_definitions(bench_frontend_news PRIVATE KORVENA_BENCH_FONT="${CMAKE_BINARY_DIR}/data/textures/Fonts/SWfont18pt.bmp")

# One frame of the history groups and tables screen on the largest confederation.
korvena_bench(bench_groups
  SOURCES frontend/groups_bench.cpp ${CMAKE_SOURCE_DIR}/tests/tournament/campaign_driver.cpp
  DEPS -Wl,--start-group korvena_frontend korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform -Wl,--end-group)
target_include_directories(bench_groups PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/tournament)
add_dependencies(bench_groups data)
add_dependencies(bench_groups data_fonts)
target_compile_definitions(bench_groups PRIVATE KORVENA_BENCH_FONT="${CMAKE_BINARY_DIR}/data/textures/Fonts/SWfont18pt.bmp")

# Histories played through the game's frame loop with the matches' results
# entered by a double: one edition, and the whole campaign.
korvena_bench(bench_history_run
  SOURCES frontend/history_run_bench.cpp ${CMAKE_SOURCE_DIR}/tests/support/history_driver.cpp
  DEPS -Wl,--start-group korvena_shell korvena_scene3d korvena_audio korvena_tournament korvena_frontend korvena_matchflow korvena_engine korvena_display korvena_framework korvena_platform -Wl,--end-group)
target_include_directories(bench_history_run PRIVATE ${CMAKE_SOURCE_DIR}/tests)
add_dependencies(bench_history_run korvena data)
