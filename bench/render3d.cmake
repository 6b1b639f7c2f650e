# The 3D core and the renderers: rasteriser fill rate per drawing mode at
# 640 x 480 with and without depth, the vertex transforms, and a whole
# device's clear plus present through the headless display.
korvena_bench(bench_render3d SOURCES ${CMAKE_CURRENT_LIST_DIR}/render3d/render_bench.cpp
  DEPS korvena_render3d korvena_raster korvena_display)
target_compile_definitions(bench_render3d PRIVATE KORVENA_BIN_DIR="${KORVENA_BIN_DIR}")
add_dependencies(bench_render3d q3dswdll q3dd3ddll)
