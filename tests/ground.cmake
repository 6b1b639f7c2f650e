# The ground's art: sources, painting, checks and files read back by the
# renderer's image decoder.
korvena_test(groundart_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ground/groundart_test.cpp
  DEPS groundart_core korvena_render3d)
target_compile_definitions(groundart_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  KORVENA_DEJAVU_DIR="${KORVENA_DEJAVU_DIR}")

# Pitch markings and the ground's tables.
korvena_test(ground_tables_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ground/pitchline_test.cpp ${CMAKE_CURRENT_LIST_DIR}/ground/groundtab_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ground/netgeom_test.cpp ${CMAKE_CURRENT_LIST_DIR}/ground/balldisc_test.cpp
  DEPS korvena_scene3d korvena_render3d korvena_framework groundart_core)

# The match's models: built, checked, read back by the game's reader.
korvena_test(ground_models_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ground/models_test.cpp
  DEPS korvena_scene3d korvena_render3d korvena_framework modelart_core)
target_compile_definitions(ground_models_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
