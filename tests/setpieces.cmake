# The set-piece script assembler and the script machine.
korvena_test(spasm_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/spasm_test.cpp
  DEPS spasm_core)
target_compile_definitions(spasm_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
korvena_test(spscript_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/spscript_test.cpp
  DEPS korvena_engine spasm_core)
korvena_test(gauge_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/matchflow/gauge_test.cpp
  DEPS korvena_matchflow korvena_shell)
# The lookups and their generated tables are compiled in; the rest of the
# engine is not needed.
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/engine/sptab_tables.cpp PROPERTIES GENERATED TRUE)
korvena_test(sptab_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/sptab_test.cpp ${CMAKE_SOURCE_DIR}/src/engine/sptab.cpp
          ${CMAKE_BINARY_DIR}/generated/engine/sptab_tables.cpp
  DEPS korvena_framework sptabgen_core)
add_dependencies(sptab_tests korvena_engine)
target_compile_definitions(sptab_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
korvena_test(setp_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp ${CMAKE_CURRENT_LIST_DIR}/engine/setp_test.cpp
  DEPS korvena_engine korvena_shell)
korvena_test(spscript_match_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp ${CMAKE_CURRENT_LIST_DIR}/engine/spscript_match_test.cpp
  DEPS korvena_engine korvena_shell)
korvena_test(setp_run_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/engine/engine_env.cpp ${CMAKE_CURRENT_LIST_DIR}/engine/setp_run_test.cpp
  DEPS korvena_engine korvena_shell)
