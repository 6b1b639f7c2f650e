# The animation data set: the compiled rows read back against their source,
# the generator refusing damaged sources, the skeleton walk against the
# ball tracks of kicks.
get_property(_anim_sources GLOBAL PROPERTY KORVENA_ANIM_SOURCES)
korvena_test(anim_data_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/anim/anim_data_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/anim/animgen_test.cpp
    ${_anim_sources}
  DEPS korvena_animgen_core)
add_dependencies(anim_data_tests anim_data_generate)
