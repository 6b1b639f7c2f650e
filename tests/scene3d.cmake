# The match scene over a recording device: textures, model files, the scene's
# set-up and its frame drawing.
korvena_test(scene3d_tests
  SOURCES scene3d/scene3d_test_env.cpp scene3d/fake_device.cpp scene3d/texture_test.cpp scene3d/model_test.cpp
          scene3d/scene_test.cpp scene3d/loading_test.cpp scene3d/snapshot_test.cpp
          scene3d/pitch3d_test.cpp scene3d/objects_test.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")

# The loading screen drawn by both renderer libraries from the generated art.
korvena_test(scene3d_capture_tests
  SOURCES scene3d/capture_test.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
add_dependencies(scene3d_capture_tests q3dswdll q3dd3ddll data)

# The ground drawn by both renderer libraries after the real loading steps.
korvena_test(scene3d_ground_capture_tests
  SOURCES scene3d/ground_capture_test.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
add_dependencies(scene3d_ground_capture_tests q3dswdll q3dd3ddll data)

# The people of the match drawn by both renderer libraries: a kick-off line-up
# in two kits, in colour and in the old editions' colour modes.
korvena_test(scene3d_players_capture_tests
  SOURCES scene3d/players_capture_test.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>")
add_dependencies(scene3d_players_capture_tests q3dswdll q3dd3ddll data)

# The players' bodies and kits: the skeleton walk against references, the
# detail levels, the generated bodies read back, the kit choices.
korvena_test(scene3d_players_tests
  SOURCES scene3d/players3d_test.cpp
          scene3d/kit_table_test.cpp
  DEPS "$<LINK_GROUP:RESCAN,korvena_shell,korvena_scene3d,korvena_render3d,korvena_matchflow,korvena_engine,korvena_audio,korvena_tournament,korvena_frontend,korvena_display,korvena_framework,korvena_math,korvena_platform>" playergeom_core kitsource_core)
target_compile_definitions(scene3d_players_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                           KORVENA_KITS_FILE="${KORVENA_DATA_DIR}/database/pc/kits.bin")
add_dependencies(scene3d_players_tests data_kits)
