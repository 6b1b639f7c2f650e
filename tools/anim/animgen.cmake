# The animation generator and its build step. Included by the engine's source
# list (which compiles the output); the guard makes a second include a no-op.
include_guard(GLOBAL)

set(_anim_dir ${CMAKE_SOURCE_DIR}/tools/anim)
# The generator's core is a library so that the tests can feed it damaged
# sources; it shares the skeleton walk with the engine.
add_library(korvena_animgen_core STATIC
  ${_anim_dir}/animgen_source.cpp
  ${_anim_dir}/animgen_clips.cpp
  ${_anim_dir}/animgen_check.cpp
  ${_anim_dir}/animgen_output.cpp
  ${_anim_dir}/animgen_templates.cpp
  ${_anim_dir}/animgen_sheet.cpp
  ${CMAKE_SOURCE_DIR}/src/engine/anim_pose.cpp)
target_link_libraries(korvena_animgen_core PUBLIC korvena_math)
target_include_directories(korvena_animgen_core PUBLIC ${CMAKE_SOURCE_DIR}/tools)
# It runs at every build of the data: optimised in every build type.
target_compile_options(korvena_animgen_core PRIVATE -O2)

add_executable(animgen ${_anim_dir}/animgen.cpp)
target_link_libraries(animgen PRIVATE korvena_animgen_core)
target_compile_options(animgen PRIVATE -O2)
set_target_properties(animgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_ANIM_OUT ${CMAKE_BINARY_DIR}/generated/engine)
file(MAKE_DIRECTORY ${KORVENA_ANIM_OUT})
# The pose frames go to several files so that they compile in parallel.
set(KORVENA_ANIM_PARTS 6)
set(KORVENA_ANIM_SOURCES ${KORVENA_ANIM_OUT}/anim_data_rows.cpp)
math(EXPR _anim_last "${KORVENA_ANIM_PARTS} - 1")
foreach(_i RANGE ${_anim_last})
  list(APPEND KORVENA_ANIM_SOURCES ${KORVENA_ANIM_OUT}/anim_data_${_i}.cpp)
endforeach()
file(GLOB KORVENA_ANIM_ASSETS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/anim/*.txt ${CMAKE_SOURCE_DIR}/assets/anim/clips/*.txt)

# Files are rewritten only when their content changes; the stamp records the run.
set(KORVENA_ANIM_STAMP ${KORVENA_ANIM_OUT}/anim_data.stamp)
add_custom_command(
  OUTPUT ${KORVENA_ANIM_STAMP}
  BYPRODUCTS ${KORVENA_ANIM_SOURCES}
  COMMAND animgen --assets ${CMAKE_SOURCE_DIR}/assets/anim --out ${KORVENA_ANIM_OUT} --parts ${KORVENA_ANIM_PARTS}
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVENA_ANIM_STAMP}
  DEPENDS animgen ${KORVENA_ANIM_ASSETS}
  COMMENT "Generating and checking the animation data"
  VERBATIM)
add_custom_target(anim_data_generate DEPENDS ${KORVENA_ANIM_STAMP})

# Stick figures of every clip for review: cmake --build <build> --target anim_sheet
add_custom_target(anim_sheet
  COMMAND animgen --assets ${CMAKE_SOURCE_DIR}/assets/anim --sheet ${CMAKE_BINARY_DIR}/anim_sheet.tga
  DEPENDS animgen
  COMMENT "Drawing the animation review sheet"
  VERBATIM)
# For targets outside the engine's folder that compile the data on their own.
set_property(GLOBAL PROPERTY KORVENA_ANIM_SOURCES ${KORVENA_ANIM_SOURCES})
