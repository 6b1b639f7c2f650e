# Tests of the sprite blitters and the rectangle copies.
korvena_test(test_display_blit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/blit_diff_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blit_values_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blit_dispatch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blit_simd_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blit_wide_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blit_indexed_cases_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/surface_copy_test.cpp
  DEPS korvena_display)
target_sources(test_display_blit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/blit_direct_test.cpp)
