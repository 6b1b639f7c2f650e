# Text menus, the pause menu over real input ports and the demo's state machine.
korvena_test(test_menu
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/menu_test.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform)
