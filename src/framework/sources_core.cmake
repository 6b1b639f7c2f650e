# Framework core: entry and hooks, timing, registry, memory, lists, files and chunk files.
list(APPEND FRAMEWORK_SOURCES
  qdx_list.cpp
  qdx_mem.cpp
  qdx_chunk.cpp
)
