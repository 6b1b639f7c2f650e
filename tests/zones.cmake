# The zone, role and support-grid generator refusing broken sources.
korvena_test(zonegen_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/zonegen_test.cpp
  DEPS zonegen_core)
target_compile_definitions(zonegen_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# Zones and roles, cover maps, the support grid, the offside line, passing
# and shot choice, on a match set up without the match flow.
korvena_test(zones_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
      ${CMAKE_CURRENT_LIST_DIR}/engine/zones_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/cover_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/shtpass_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/aiopt_test.cpp
  DEPS korvena_engine korvena_shell)
