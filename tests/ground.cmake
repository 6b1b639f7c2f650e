# The ground's art: sources, painting, checks and files read back by the
# renderer's image decoder.
if(TARGET groundart_core AND TARGET korvena_render3d)
  korvena_test(groundart_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ground/groundart_test.cpp
    DEPS groundart_core korvena_render3d)
  target_compile_definitions(groundart_tests PRIVATE KORVENA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KORVENA_DEJAVU_DIR="${KORVENA_DEJAVU_DIR}")
endif()
