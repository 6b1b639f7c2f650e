# Input devices: keyboard (scan-code table), joysticks and game controllers,
# mouse, and the headless backend's virtual devices and script commands.
list(APPEND PLATFORM_SOURCES
  input.cpp
  input_scancodes.cpp
  sdl/input_sdl.cpp
  headless/input_headless.cpp)
