# Shared image writers of the data generators.
include_guard(GLOBAL)
add_library(korvena_art STATIC ${CMAKE_CURRENT_LIST_DIR}/art_image.cpp)
target_link_libraries(korvena_art PUBLIC korvena_options)
target_include_directories(korvena_art PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
