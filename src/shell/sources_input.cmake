# Input ports, binding tables, the game-widget map and the input events.
list(APPEND SHELL_SOURCES
  input.cpp
  input_bindings.cpp
  gmewidg.cpp)
