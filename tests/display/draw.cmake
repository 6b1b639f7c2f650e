# Tests of the drawing primitives, text printer, fonts, sprite banks, sheets
# and the software pointer.
korvena_test(test_display_draw
  SOURCES
    draw/primitives_test.cpp
    draw/sheet_test.cpp
    draw/bank_test.cpp
    draw/text_test.cpp
    draw/fonts_test.cpp
    draw/surface_blit_test.cpp
    draw/convert_test.cpp
  DEPS korvena_display korvena_art)
# The match font's rasteriser arguments, '|' between two, so that its test
# can draw the font again with straight soft edges.
get_property(_korvena_match_font_args GLOBAL PROPERTY KORVENA_FONT_ARGS_SWfont3a3.bmp)
list(JOIN _korvena_match_font_args "|" _korvena_match_font_args)
target_compile_definitions(test_display_draw PRIVATE KORVENA_MATCH_FONT_ARGS="${_korvena_match_font_args}")
add_dependencies(test_display_draw data_fonts)

# The software pointer on the headless display.
korvena_test(test_display_pointer
  SOURCES
    draw/pointer_test.cpp
  DEPS korvena_display)
