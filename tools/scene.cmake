# Art of the match scene: loading screen, logo, progress clock, the
# renderer's sprite sheet and the player shadow.
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
add_executable(korvena_scenegen ${CMAKE_CURRENT_LIST_DIR}/scene/scenegen.cpp)
target_link_libraries(korvena_scenegen PRIVATE korvena_art)
set_target_properties(korvena_scenegen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(KORVENA_SCENE_ART
  ${KORVENA_DATA_DIR}/textures/images/loadingS.tga ${KORVENA_DATA_DIR}/textures/images/dolby.tga
  ${KORVENA_DATA_DIR}/textures/images/clock.tga ${KORVENA_DATA_DIR}/textures/images/sprites.tga
  ${KORVENA_DATA_DIR}/textures/pitch/playshad.tga)
add_custom_command(OUTPUT ${KORVENA_SCENE_ART}
  COMMAND korvena_scenegen --out ${KORVENA_DATA_DIR}/textures
  DEPENDS korvena_scenegen
  COMMENT "Painting the match scene's art"
  VERBATIM)
add_custom_target(data_scene DEPENDS ${KORVENA_SCENE_ART})
add_dependencies(data data_scene)
