# Shared compile settings and helpers for every target of the project.

# The test tree links some hundred and fifty test programs, each with the
# whole game in it: to spare the disk their debug sections are kept
# compressed (the sanitizers' stack traces read them as they are) and they
# are linked at a fixed address, which leaves out the run-time relocations of
# every pointer in the game's tables and the sanitizers' records.
if(KORVENA_SANITIZE AND NOT KORVENA_FUZZ)
  set(KORVENA_LEAN_PROGRAMS ON)
else()
  set(KORVENA_LEAN_PROGRAMS OFF)
endif()

add_library(korvena_options INTERFACE)
target_compile_options(korvena_options INTERFACE
  -Wall -Wextra -Wno-unused-parameter
  # Results must be reproducible to the bit: no contraction into FMA, no fast-math.
  -ffp-contract=off -fno-fast-math
  $<$<BOOL:${KORVENA_WERROR}>:-Werror>
  $<$<BOOL:${KORVENA_SANITIZE}>:-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined>
  $<$<BOOL:${KORVENA_LEAN_PROGRAMS}>:-gz>
  # The fuzz tree traces coverage in every library; tests/fuzz links libFuzzer.
  $<$<BOOL:${KORVENA_FUZZ}>:-fsanitize=fuzzer-no-link>)
# The fixed address is for programs only: a shared library (the renderers,
# the test tree's stand-in libraries) is loaded wherever there is room.
target_link_options(korvena_options INTERFACE
  $<$<BOOL:${KORVENA_SANITIZE}>:-fsanitize=address,undefined>
  $<$<BOOL:${KORVENA_LEAN_PROGRAMS}>:-gz>
  $<$<AND:$<BOOL:${KORVENA_LEAN_PROGRAMS}>,$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>>:-no-pie>)
target_compile_features(korvena_options INTERFACE cxx_std_20)
target_include_directories(korvena_options INTERFACE ${CMAKE_SOURCE_DIR}/src)
# Assertions stay on in every build type.
target_compile_definitions(korvena_options INTERFACE KORVENA_ASSERTS=1)

# The sanitizer build links the leak checker's suppressions for system
# libraries (cmake/lsan.supp) into every program.
if(KORVENA_SANITIZE)
  file(READ ${CMAKE_CURRENT_LIST_DIR}/lsan.supp KORVENA_LSAN_SUPPRESSIONS)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/lsan_defaults.cpp.in ${CMAKE_BINARY_DIR}/lsan_defaults.cpp @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
  target_sources(korvena_options INTERFACE ${CMAKE_BINARY_DIR}/lsan_defaults.cpp)
endif()

# korvena_library(<name> SOURCES ... DEPS ...)
function(korvena_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC korvena_options ${ARG_DEPS})
  # The game's libraries call each other through service headers and so form
  # one cycle of static archives; the linker scans the cycle this many times
  # so that every build type links whatever order the objects pull each other in.
  set_property(TARGET ${name} PROPERTY LINK_INTERFACE_MULTIPLICITY 8)
endfunction()

# korvena_test(<name> SOURCES ... DEPS ...): one GoogleTest program, its tests
# registered with CTest. Tests run with KORVENA_BACKEND=headless and get
# KORVENA_SOURCE_DIR and KORVENA_BUILD_DIR in the environment, and link the
# shared helpers of tests/support (korvena_test_support). The variables
# are set by running the program through "cmake -E env" (a list-valued
# ENVIRONMENT property does not survive test discovery).
function(korvena_test name)
  cmake_parse_arguments(ARG "SERIAL" "COST" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE korvena_options ${ARG_DEPS} korvena_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;KORVENA_BACKEND=headless;KORVENA_SOURCE_DIR=${CMAKE_SOURCE_DIR};KORVENA_BUILD_DIR=${CMAKE_BINARY_DIR}")
  # A long test gives its COST so that ctest starts it among the first.
  set(cost)
  if(ARG_COST)
    set(cost COST ${ARG_COST})
  endif()
  # Runs of the game read the menu sheets the game converts on its first
  # run: every test waits for the one run that converts them.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES FIXTURES_REQUIRED korvena_sheets RUN_SERIAL ${ARG_SERIAL} ${cost})
endfunction()

# korvena_bench(<name> SOURCES ... DEPS ...)
function(korvena_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE korvena_options ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
