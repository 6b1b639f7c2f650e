# Fonts of the data set: glyph-strip sheets rasterised from DejaVu with
# FreeType, cut into fonts by the display library.
include(${CMAKE_CURRENT_LIST_DIR}/art/art.cmake)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)

add_executable(korvena_fontgen ${CMAKE_CURRENT_LIST_DIR}/fonts/fontgen.cpp)
target_link_libraries(korvena_fontgen PRIVATE korvena_art PkgConfig::FREETYPE)
set_target_properties(korvena_fontgen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(KORVENA_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu TrueType fonts")
set(KORVENA_FONTS_DIR ${KORVENA_DATA_DIR}/textures/Fonts)

# korvena_font(<output name> <ttf> <pixel size> [TGA <name>] [ARGS extra arguments...])
# TGA also writes the same sheet as a TGA file (the hardware renderers' copy).
function(korvena_font out ttf size)
  cmake_parse_arguments(ARG "" "TGA" "ARGS" ${ARGN})
  set(path ${KORVENA_FONTS_DIR}/${out})
  set(outputs ${path})
  set(tga_args)
  if(ARG_TGA)
    list(APPEND outputs ${KORVENA_FONTS_DIR}/${ARG_TGA})
    set(tga_args --tga ${KORVENA_FONTS_DIR}/${ARG_TGA})
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND korvena_fontgen --font ${KORVENA_DEJAVU_DIR}/${ttf} --size ${size} ${ARG_ARGS} --out ${path} ${tga_args}
    DEPENDS korvena_fontgen ${KORVENA_DEJAVU_DIR}/${ttf}
    COMMENT "Rasterising font ${out}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY KORVENA_FONT_OUTPUTS ${outputs})
  # The rasteriser's arguments but the output, for tests that draw the font
  # again with some of them changed.
  set_property(GLOBAL PROPERTY KORVENA_FONT_ARGS_${out} --font ${KORVENA_DEJAVU_DIR}/${ttf} --size ${size} ${ARG_ARGS})
endfunction()

# Front end: font 0 (small) and font 1 (large, also the software match font 1).
korvena_font(SWfont18pt.bmp DejaVuSans-Bold.ttf 14)
korvena_font(SW24pt.bmp DejaVuSans-Bold.ttf 20 TGA 24pt.tga)
# Match font 0: fixed 16 x 16 cells (software renderer; the TGA copy for the
# hardware renderers): a bold fixed-pitch face 14 pixels high, widened until
# its glyphs fill the cells (the match's texts are printed 16 pixels a
# character). Its soft edges are fainter (edge gamma 2): the match's texts
# stand on the picture over a dark shadow one pixel down and right, and a
# stroke's soft edge over that shadow (the inner corner of "D") must leave
# it dark.
korvena_font(SWfont3a3.bmp DejaVuSansMono-Bold.ttf 14 TGA font3a3.tga ARGS --cell 16 --rows 14 --xsize 26 --fit --edge-gamma 2)
# Debug font read at start-up ("fonts\debug.bmp"; names match without case).
korvena_font(debug.bmp DejaVuSansMono.ttf 11)

get_property(_korvena_font_outputs GLOBAL PROPERTY KORVENA_FONT_OUTPUTS)
add_custom_target(data_fonts DEPENDS ${_korvena_font_outputs})
add_dependencies(data data_fonts)
