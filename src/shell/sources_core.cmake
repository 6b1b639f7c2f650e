# Game shell core: start-up, application states, global record and game-mode
# stack, the two ticks, texts, data files, utilities, 2D drawing state, hooks.
include(${CMAKE_SOURCE_DIR}/tools/texts.cmake)

list(APPEND SHELL_SOURCES
  cstring.cpp
  draw2d.cpp
  file.cpp
  game.cpp
  game_replay.cpp
  global.cpp
  imath.cpp
  list.cpp
  mem.cpp
  pause.cpp
  pcdisplay.cpp
  pcinstall.cpp
  pcprof.cpp
  pcmain.cpp
  pcstub.cpp
  texts.cpp
  vsync.cpp
  user.cpp
  usrmark.cpp
  debuglog.cpp
  saidonce.cpp
  ${KORVENA_TEXTS_SOURCE}
  ${KORVENA_TEXTS_STAMP})
