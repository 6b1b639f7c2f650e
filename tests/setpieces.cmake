# The set-piece script assembler and the script machine.
korvena_test(spasm_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/spasm_test.cpp
  DEPS spasm_core)
target_compile_definitions(spasm_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
korvena_test(spscript_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/spscript_test.cpp
  DEPS korvena_engine spasm_core)
