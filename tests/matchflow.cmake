# Match clock, statistics, environment and injuries over fakes of what they
# call (flow_fakes.cpp), so each can be driven to its edges.
korvena_test(test_matchflow_stats
  SOURCES
    matchflow/flow_fakes.cpp
    matchflow/clock_test.cpp
    matchflow/stats_test.cpp
    matchflow/environ_test.cpp
    matchflow/injury_test.cpp
    ${CMAKE_SOURCE_DIR}/src/matchflow/clock.cpp
    ${CMAKE_SOURCE_DIR}/src/matchflow/gstatso.cpp
    ${CMAKE_SOURCE_DIR}/src/matchflow/environ.cpp
    ${CMAKE_SOURCE_DIR}/src/matchflow/injuryg.cpp
    ${CMAKE_SOURCE_DIR}/src/tournament/dbplayer.cpp
    ${CMAKE_SOURCE_DIR}/src/engine/ball.cpp
    ${CMAKE_SOURCE_DIR}/src/shell/vsync.cpp
    ${CMAKE_SOURCE_DIR}/src/shell/debuglog.cpp
    ${CMAKE_BINARY_DIR}/generated/shell/texts_data.cpp
  DEPS korvena_framework)
target_include_directories(test_matchflow_stats PRIVATE ${CMAKE_BINARY_DIR}/generated)
add_dependencies(test_matchflow_stats korvena_shell)

# Camera, camera paths, captions and the action replay over the whole match
# libraries; the replay test records a run of the engine's test match.
korvena_test(test_matchflow_view
  SOURCES
    matchflow/camera_test.cpp
    matchflow/caption_test.cpp
    matchflow/replay_test.cpp
    engine/engine_env.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell)
# The caption test reports a controller missing, which the input layer of
# this platform never does.
target_link_options(test_matchflow_view PRIVATE -Wl,--wrap=_Z24input_bControllerMissingv)

# The camera, captions and replay in whole headless matches.
include(${CMAKE_SOURCE_DIR}/tests/support/match_harness.cmake)
korvena_test(test_view_match
  SOURCES matchflow/view_match_test.cpp matchflow/box_text_test.cpp
  DEPS korvena_match_harness korvena_shell)
add_dependencies(test_view_match data)

# Every in-match text page with the longest names in all six languages: no
# text overlaps another or leaves its panel; the pages are written out as
# images into $KORVENA_CAPTURE_DIR/matchtext/ when that is set.
korvena_test(test_matchtext_layout
  SOURCES matchflow/text_layout_test.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
add_dependencies(test_matchtext_layout q3dswdll data)

# A friendly played again starts from the team sheets its first match
# started from.
korvena_test(test_play_again_sheets SOURCES matchflow/play_again_sheets_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_play_again_sheets data)

# A drawn history tie played again keeps the drawn match's cards and forgets
# who was substituted in it.
korvena_test(test_history_replay SOURCES matchflow/history_replay_test.cpp DEPS korvena_match_harness korvena_shell)
add_dependencies(test_history_replay data)
