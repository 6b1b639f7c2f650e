# The headless match harness: whole matches in the calling process, for the
# match tests, the soak (make soak) and the match benchmark. No GoogleTest.
if(NOT TARGET korvena_match_harness)
  add_library(korvena_match_harness STATIC
    ${CMAKE_CURRENT_LIST_DIR}/match_harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/match_soak.cpp
    ${CMAKE_CURRENT_LIST_DIR}/match_watch.cpp)
  target_link_libraries(korvena_match_harness PUBLIC korvena_options korvena_shell korvena_matchflow korvena_engine
    korvena_frontend korvena_scene3d korvena_audio korvena_tournament korvena_display korvena_framework korvena_platform)
  target_include_directories(korvena_match_harness PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  add_executable(match_soak ${CMAKE_CURRENT_LIST_DIR}/match_soak_main.cpp)
  target_link_libraries(match_soak PRIVATE korvena_options korvena_match_harness)
  set_target_properties(match_soak PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(match_soak data)
endif()
