# Fonts of the data set: glyph-strip sheets rasterised from DejaVu with
# FreeType, cut into fonts by the display library.
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)

add_executable(korvena_fontgen ${CMAKE_CURRENT_LIST_DIR}/fonts/fontgen.cpp)
target_link_libraries(korvena_fontgen PRIVATE korvena_art PkgConfig::FREETYPE)
set_target_properties(korvena_fontgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu TrueType fonts")
set(KORVENA_FONTS_DIR ${KORVENA_DATA_DIR}/textures/Fonts)

# korvena_font(<output name> <ttf> <pixel size> [extra arguments...])
function(korvena_font out ttf size)
  set(path ${KORVENA_FONTS_DIR}/${out})
  add_custom_command(OUTPUT ${path}
    COMMAND korvena_fontgen --font ${KORVENA_DEJAVU_DIR}/${ttf} --size ${size} ${ARGN} --out ${path}
    DEPENDS korvena_fontgen ${KORVENA_DEJAVU_DIR}/${ttf}
    COMMENT "Rasterising font ${out}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY KORVENA_FONT_OUTPUTS ${path})
endfunction()

# Front end: font 0 (small) and font 1 (large, also the software match font 1).
korvena_font(SWfont18pt.bmp DejaVuSans-Bold.ttf 14)
korvena_font(SW24pt.bmp DejaVuSans-Bold.ttf 20)
# Match font 0 of the software renderer: fixed 16 x 16 cells.
korvena_font(SWfont3a3.bmp DejaVuSans-Bold.ttf 11 --cell 16 --rows 14)
# Debug font read at start-up ("fonts\debug.bmp"; names match without case).
korvena_font(debug.bmp DejaVuSansMono.ttf 11)

get_property(_korvena_font_outputs GLOBAL PROPERTY KORVENA_FONT_OUTPUTS)
add_custom_target(data_fonts DEPENDS ${_korvena_font_outputs})
add_dependencies(data data_fonts)
