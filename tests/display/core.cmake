# Tests of the display library core.
korvena_test(test_display_core
  SOURCES
    core/surface_test.cpp
    core/colour_test.cpp
    core/palette_test.cpp
    core/image_test.cpp
  DEPS korvena_display)
