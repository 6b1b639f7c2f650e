# Action program sets and the team trap table: progasm checks the sources of
# assets/match against the zone and role tables and the animation data and
# writes C++ tables into the build tree. Included from the engine's source
# list and from tools/; the guard makes later includes no-ops.
include_guard(GLOBAL)
include(${CMAKE_SOURCE_DIR}/tools/zones.cmake)
include(${CMAKE_SOURCE_DIR}/tools/anim/animgen.cmake)

add_library(progasm_core STATIC ${CMAKE_SOURCE_DIR}/tools/programs/progasm_core.cpp)
target_compile_features(progasm_core PUBLIC cxx_std_20)
target_compile_options(progasm_core PRIVATE -Wall -Wextra)
target_include_directories(progasm_core PUBLIC ${CMAKE_SOURCE_DIR}/tools/programs ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(progasm_core PUBLIC zonegen_core)
add_executable(progasm ${CMAKE_SOURCE_DIR}/tools/programs/progasm.cpp)
target_link_libraries(progasm PRIVATE progasm_core korvena_animgen_core)
target_compile_options(progasm PRIVATE -Wall -Wextra)
set_target_properties(progasm PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_PROGRAM_GENERATED ${CMAKE_BINARY_DIR}/generated/engine)
file(MAKE_DIRECTORY ${KORVENA_PROGRAM_GENERATED})
set(KORVENA_PROGRAM_SOURCES
  ${KORVENA_PROGRAM_GENERATED}/action_program_data.cpp
  ${KORVENA_PROGRAM_GENERATED}/trap_table.cpp)
add_custom_command(
  OUTPUT ${KORVENA_PROGRAM_GENERATED}/action_program_data.cpp
  COMMAND progasm --zones ${CMAKE_SOURCE_DIR}/assets/match/zones.txt
          --programs ${CMAKE_SOURCE_DIR}/assets/match/programs.txt --out ${KORVENA_PROGRAM_GENERATED}
  DEPENDS progasm ${CMAKE_SOURCE_DIR}/assets/match/programs.txt ${CMAKE_SOURCE_DIR}/assets/match/zones.txt
  COMMENT "Assembling and checking the action programs"
  VERBATIM)
add_custom_command(
  OUTPUT ${KORVENA_PROGRAM_GENERATED}/trap_table.cpp
  COMMAND progasm --traps ${CMAKE_SOURCE_DIR}/assets/match/traps.txt --anim ${CMAKE_SOURCE_DIR}/assets/anim
          --out ${KORVENA_PROGRAM_GENERATED}
  DEPENDS progasm ${CMAKE_SOURCE_DIR}/assets/match/traps.txt ${KORVENA_ANIM_ASSETS}
  COMMENT "Checking the trap table against the animation data"
  VERBATIM)

# A set for review: cmake --build <build> --target programs_explain (set from PROGRAM_SET, default 0)
if(NOT DEFINED PROGRAM_SET)
  set(PROGRAM_SET 0)
endif()
add_custom_target(programs_explain
  COMMAND progasm --zones ${CMAKE_SOURCE_DIR}/assets/match/zones.txt
          --programs ${CMAKE_SOURCE_DIR}/assets/match/programs.txt --explain ${PROGRAM_SET}
  DEPENDS progasm
  VERBATIM)
