# The match scene's textures and model files over a recording device. The
# modules under test are compiled in, so the test links only the 3D core
# and what it stands on.
set(SCENE3D_UNIT_SOURCES ${CMAKE_SOURCE_DIR}/src/scene3d/texture.cpp ${CMAKE_SOURCE_DIR}/src/scene3d/model.cpp)
korvena_test(scene3d_tests
  SOURCES scene3d/scene3d_test_env.cpp scene3d/fake_device.cpp scene3d/texture_test.cpp scene3d/model_test.cpp
          ${SCENE3D_UNIT_SOURCES}
  DEPS korvena_render3d korvena_display korvena_shell korvena_framework korvena_platform)
