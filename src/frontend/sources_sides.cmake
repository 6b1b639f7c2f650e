# Choose sides, quick match (with its generated table) and match conditions.
include(${CMAKE_SOURCE_DIR}/tools/frontend/quickgen.cmake)
list(APPEND FRONTEND_SOURCES mcondi.cpp mquick.cpp pcsides.cpp ${KORVENA_QUICKMATCH_SOURCE})
