# Core areas of the platform layer: window and events, clock, timer, settings
# store, paths, library loading, message box, instance lock, headless script.
list(APPEND PLATFORM_SOURCES
  window.cpp
  clock.cpp
  timer.cpp
  settings.cpp
  paths.cpp
  tempfiles.cpp
  library.cpp
  messagebox.cpp
  instance.cpp
  saidonce.cpp
  sdl/sdl_backend.cpp
  headless/headless_backend.cpp
  headless/script.cpp)
