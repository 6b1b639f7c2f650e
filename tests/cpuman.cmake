# The computer manager's change table and its generator.
korvena_test(cpumangen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/cpumangen_test.cpp
  DEPS cpumangen_core korvena_engine korvena_shell)
target_compile_definitions(cpumangen_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Substitutions, the formation change and the computer manager over a match
# of two real squads.
korvena_test(test_subs
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/matchflow/subs_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
  DEPS korvena_matchflow korvena_engine korvena_shell korvena_framework korvena_platform)
add_dependencies(test_subs data)
# Substitutions in whole matches.
include(${CMAKE_SOURCE_DIR}/tests/support/match_harness.cmake)
korvena_test(test_subs_match
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/matchflow/subs_match_test.cpp
  DEPS korvena_match_harness korvena_shell)
add_dependencies(test_subs_match data)
