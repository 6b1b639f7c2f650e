# Movies: the validator of our movie format.
add_executable(korvena_fmvcheck ${CMAKE_CURRENT_LIST_DIR}/fmv/fmvcheck.cpp)
target_link_libraries(korvena_fmvcheck PRIVATE korvena_platform)
set_target_properties(korvena_fmvcheck PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
