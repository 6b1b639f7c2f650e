# Display library core: surfaces, colours, the Q2DX layer.
list(APPEND DISPLAY_SOURCES
  qdl_pool.cpp
  qdl_surface.cpp
  qdl_colour.cpp
  qdl_palette.cpp
  qdl_image.cpp
  q2dx_surface.cpp
  q2dx_display.cpp
  qdl_device.cpp
  qdl_device_open.cpp
  qdl_core.cpp
  qdl_present.cpp
  qdl_wrappers.cpp
  qdl_context.cpp
)
