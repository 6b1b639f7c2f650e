# The rules pages, the help panel and the history mode's presentation screens.
list(APPEND FRONTEND_SOURCES
  mfhmain.cpp
  mfhmain_edition.cpp
  mfhnews.cpp
  mhelp.cpp
  wcelim.cpp
  wcintro.cpp
  wcqual.cpp
  wcwin.cpp)
