# The kit table: the teams' kits of assets/kits expanded over the player
# database's editions and checked before writing; the players' textures
# (kits, heads, skin, boots, numbers) drawn from it.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
add_library(kitsource_core STATIC ${CMAKE_CURRENT_LIST_DIR}/kits/kitsource.cpp
            ${CMAKE_CURRENT_LIST_DIR}/kits/kitart.cpp)
target_link_libraries(kitsource_core PUBLIC korvena_options korvena_art)
target_include_directories(kitsource_core PUBLIC ${CMAKE_CURRENT_LIST_DIR}/kits ${CMAKE_SOURCE_DIR}/src)
target_compile_options(kitsource_core PRIVATE -O2)

add_executable(korvena_kitgen ${CMAKE_CURRENT_LIST_DIR}/kits/kitgen.cpp)
target_link_libraries(korvena_kitgen PRIVATE kitsource_core korvena_art)
set_target_properties(korvena_kitgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(_kit_stamp ${CMAKE_BINARY_DIR}/tools/kits.stamp)
add_custom_command(OUTPUT ${_kit_stamp}
  COMMAND korvena_kitgen --assets ${CMAKE_SOURCE_DIR}/assets --out ${KORVENA_DATA_DIR} --stamp ${_kit_stamp}
  DEPENDS korvena_kitgen ${CMAKE_SOURCE_DIR}/assets/kits/kits.txt ${CMAKE_SOURCE_DIR}/assets/database/teams.txt
    ${CMAKE_SOURCE_DIR}/assets/database/unique_heads.txt
  COMMENT "Building the kit table"
  VERBATIM)
add_custom_target(data_kits DEPENDS ${_kit_stamp})
add_dependencies(data data_kits)
