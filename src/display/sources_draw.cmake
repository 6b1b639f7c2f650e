# Drawing primitives, text printer and fonts, sprite banks and the .spr file,
# sheets and image loaders, the software mouse pointer.
list(APPEND DISPLAY_SOURCES
  qdl_draw.cpp
)
