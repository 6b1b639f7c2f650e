# The animation data set: the generator's whole run and the skeleton walk.
get_property(_anim_sources GLOBAL PROPERTY KORVENA_ANIM_SOURCES)
korvena_bench(bench_animdata SOURCES ${CMAKE_CURRENT_LIST_DIR}/anim/bench_animdata.cpp ${_anim_sources}
              DEPS korvena_animgen_core)
add_dependencies(bench_animdata anim_data_generate)
target_compile_definitions(bench_animdata PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
