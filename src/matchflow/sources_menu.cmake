# Text menus, the pause menu and the attract-mode demo.
list(APPEND MATCHFLOW_SOURCES
  menu.cpp
  pausemenu.cpp
  pausemenu_mode.cpp
  demo.cpp
  demo_update.cpp
)
