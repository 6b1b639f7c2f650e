# Images of the display library: the pointer image, and the tools that turn
# our own art into TGA/BMP files and sprite banks (".spr") for later data.
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)

add_executable(korvena_artgen ${CMAKE_CURRENT_LIST_DIR}/images/artgen.cpp)
target_link_libraries(korvena_artgen PRIVATE korvena_art)
set_target_properties(korvena_artgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# Sheet (TGA/BMP) -> sprite bank, through the display library itself.
add_executable(korvena_sprtool ${CMAKE_CURRENT_LIST_DIR}/images/sprtool.cpp)
target_link_libraries(korvena_sprtool PRIVATE korvena_display)
set_target_properties(korvena_sprtool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# "Pointer.bmp" is looked up beside the executable.
set(KORVENA_POINTER_BMP ${KORVENA_BIN_DIR}/Pointer.bmp)
add_custom_command(OUTPUT ${KORVENA_POINTER_BMP}
  COMMAND korvena_artgen --pointer ${KORVENA_POINTER_BMP}
  DEPENDS korvena_artgen
  COMMENT "Drawing Pointer.bmp"
  VERBATIM)

# A demonstration bank of eight sprites, for tests of the whole chain.
set(KORVENA_DEMO_SHEET ${CMAKE_BINARY_DIR}/tools/art/demo_sprites.bmp)
set(KORVENA_DEMO_BANK ${CMAKE_BINARY_DIR}/tools/art/demo_sprites.spr)
add_custom_command(OUTPUT ${KORVENA_DEMO_SHEET}
  COMMAND korvena_artgen --demo-sheet ${KORVENA_DEMO_SHEET}
  DEPENDS korvena_artgen
  COMMENT "Drawing the demonstration sprite sheet"
  VERBATIM)
add_custom_command(OUTPUT ${KORVENA_DEMO_BANK}
  COMMAND korvena_sprtool --sheet ${KORVENA_DEMO_SHEET} --mode 1 --cell 32 32 --frames 8 --out ${KORVENA_DEMO_BANK}
  DEPENDS korvena_sprtool ${KORVENA_DEMO_SHEET}
  COMMENT "Cutting the demonstration sprite bank"
  VERBATIM)

add_custom_target(data_images DEPENDS ${KORVENA_POINTER_BMP} ${KORVENA_DEMO_BANK})
add_dependencies(data data_images)
