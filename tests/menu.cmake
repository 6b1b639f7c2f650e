# Text menus, the pause menu over real input ports and the demo's state machine.
korvena_test(test_menu
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/menu_test.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform)

# The options block and the rules of the options screen's rows.
korvena_test(test_options
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/options_test.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform korvena_test_support)
