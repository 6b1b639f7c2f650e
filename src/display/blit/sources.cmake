# Sprite blitters: dispatcher, kernel tables, vector spans, rectangle copies.
list(APPEND DISPLAY_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/qdl_blit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_8to16.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_8to8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_16to16.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_wide.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_simd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qdl_surface_copy.cpp)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64")
  list(APPEND DISPLAY_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_simd_avx2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_simd_avx512.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qdl_blit_wide_avx512.cpp)
  # These files alone are built for wider vectors; they run only where the
  # processor has them.
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/qdl_blit_simd_avx2.cpp
    PROPERTIES COMPILE_OPTIONS "-mavx2")
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/qdl_blit_simd_avx512.cpp
    PROPERTIES COMPILE_OPTIONS "-mavx2;-mavx512f;-mavx512bw;-mavx512vl")
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/qdl_blit_wide_avx512.cpp
    PROPERTIES COMPILE_OPTIONS "-mavx2;-mavx512f;-mavx512bw;-mavx512vl;-mavx512vbmi")
endif()
