# The match scene: the loading steps' work (the rate gate excluded), an
# overlay-only match frame at 640 x 480 on both renderers, and the resident
# memory after loading.
korvena_bench(bench_scene3d SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene3d/scene_bench.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
target_compile_definitions(bench_scene3d PRIVATE KORVENA_BIN_DIR="${KORVENA_BIN_DIR}")
add_dependencies(bench_scene3d q3dswdll q3dd3ddll data)

# The people of the match: a kick-off frame with and without the 23 people,
# by day and at night, on both renderers.
korvena_bench(bench_players3d SOURCES ${CMAKE_CURRENT_LIST_DIR}/scene3d/players_bench.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
target_compile_definitions(bench_players3d PRIVATE KORVENA_BIN_DIR="${KORVENA_BIN_DIR}")
add_dependencies(bench_players3d q3dswdll q3dd3ddll data)
