# Tests of the display library core.
korvena_test(test_display_core
  SOURCES
    core/surface_test.cpp
    core/colour_test.cpp
    core/palette_test.cpp
    core/image_test.cpp
  DEPS korvena_display)

# The display opened on the headless backend: modes, the device cache file,
# presentation and capture, the context and the wrapper objects.
korvena_test(test_display_open
  SOURCES
    core/display_env.cpp
    core/modes_test.cpp
    core/device_file_test.cpp
    core/device_open_test.cpp
    core/display_test.cpp
    core/context_test.cpp
  DEPS korvena_display)

# Presentation through SDL on its dummy video driver with the software renderer.
korvena_test(test_display_sdl SOURCES core/sdl_present_test.cpp DEPS korvena_display)
