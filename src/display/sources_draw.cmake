# Drawing primitives, text printer and fonts, sprite banks and the .spr file,
# sheets and image loaders, surface copies, the software mouse pointer.
list(APPEND DISPLAY_SOURCES
  qdl_draw.cpp
  qdl_text.cpp
  qdl_bank.cpp
  qdl_sheet.cpp
  qdl_surface_blit.cpp
  qdl_pointer.cpp
)
