# Framework core: entry and hooks, timing, registry, memory, lists, files and chunk files.
list(APPEND FRAMEWORK_SOURCES
  qdx_list.cpp
  qdx_mem.cpp
  qdx_chunk.cpp
  qdx_file.cpp
  qdx_time.cpp
  qdx_reg.cpp
  qdx_window.cpp
  qdx_entry.cpp
)
