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

# The software pointer on the headless display.
korvena_test(test_display_pointer
  SOURCES
    draw/pointer_test.cpp
  DEPS korvena_display)
