# The action table, the action pass by game mode, the director and the
# closing-down choice, on a match set up without the match flow.
korvena_test(action_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/action_test.cpp
  DEPS korvena_engine korvena_shell)

# The action program assembler and its checks, against the table and the
# trap table compiled into the engine.
include(${CMAKE_SOURCE_DIR}/tools/programs.cmake)
korvena_test(progasm_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/progasm_test.cpp
  DEPS progasm_core korvena_engine korvena_shell)

# Open play between two squads of the database, 20 simulated minutes a seed.
korvena_test(sandbox_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/sandbox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/engine/sandbox_test.cpp
  DEPS korvena_engine korvena_shell)
add_dependencies(sandbox_tests data)  # the squads come from the generated player database
