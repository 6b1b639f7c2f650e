# Text menus, the pause menu, the attract-mode demo and the options screen.
list(APPEND MATCHFLOW_SOURCES
  menu.cpp
  pausemenu.cpp
  pausemenu_mode.cpp
  demo.cpp
  demo_update.cpp
  options.cpp
  options_screen.cpp
)
