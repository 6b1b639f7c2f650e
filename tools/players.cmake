# The player bodies: five detail levels of every model code, built around
# the animations' skeleton and checked against it before writing.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
add_library(playergeom_core STATIC ${CMAKE_CURRENT_LIST_DIR}/players/playergeom.cpp)
target_link_libraries(playergeom_core PUBLIC korvena_options)
target_include_directories(playergeom_core PUBLIC ${CMAKE_CURRENT_LIST_DIR}/players)
target_compile_options(playergeom_core PRIVATE -O2)

add_executable(korvena_playergen ${CMAKE_CURRENT_LIST_DIR}/players/playergen.cpp)
target_link_libraries(korvena_playergen PRIVATE playergeom_core korvena_art)
set_target_properties(korvena_playergen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(_player_stamp ${CMAKE_BINARY_DIR}/tools/players.stamp)
add_custom_command(OUTPUT ${_player_stamp}
  COMMAND korvena_playergen --skeleton ${CMAKE_SOURCE_DIR}/assets/anim/skeleton.txt --out ${KORVENA_DATA_DIR}/models --stamp ${_player_stamp}
  DEPENDS korvena_playergen ${CMAKE_SOURCE_DIR}/assets/anim/skeleton.txt
  COMMENT "Building the player bodies"
  VERBATIM)
add_custom_target(data_players DEPENDS ${_player_stamp})
add_dependencies(data data_players)
