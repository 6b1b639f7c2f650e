# User control in open play over the engine's test match, with a pause menu
# that counts its openings; the controls presets and the keys of a match.
korvena_test(test_usrctl
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/usrctl_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/usrctl_keys_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform)
