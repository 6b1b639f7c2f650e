# Keyboard, joysticks and mouse.
list(APPEND FRAMEWORK_SOURCES
  qdx_input.cpp
  qdx_keyboard.cpp
  qdx_joystick.cpp
  qdx_mouse.cpp
  qdx_mouse_hook.cpp)
