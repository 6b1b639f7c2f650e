# Display area of the platform layer: presentation of the back buffer,
# display modes, frame capture.
list(APPEND PLATFORM_SOURCES
  display.cpp
  sdl/display_sdl.cpp
  headless/display_headless.cpp)
