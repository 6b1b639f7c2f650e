# Player database: the squad loader, a side's hand-over and set-up, the
# database generator.
korvena_bench(bench_squads
  SOURCES tournament/bench_squads.cpp
  DEPS korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_frontend korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform)
add_dependencies(bench_squads data dbgen)

# History tree: loading an edition and simulating it.
korvena_bench(bench_history
  SOURCES tournament/bench_history.cpp
  DEPS -Wl,--start-group korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_frontend korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform -Wl,--end-group)
add_dependencies(bench_history data)

# History saves of the largest tournament, and whole campaigns.
korvena_bench(bench_tmsave
  SOURCES tournament/bench_tmsave.cpp ${CMAKE_SOURCE_DIR}/tests/tournament/campaign_driver.cpp
  DEPS -Wl,--start-group korvena_tournament korvena_matchflow korvena_engine korvena_shell korvena_frontend korvena_scene3d korvena_audio korvena_display korvena_framework korvena_platform -Wl,--end-group)
target_include_directories(bench_tmsave PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/tournament)
add_dependencies(bench_tmsave data)
