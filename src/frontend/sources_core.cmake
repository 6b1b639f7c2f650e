list(APPEND FRONTEND_SOURCES demowatch.cpp listctrl.cpp mregion.cpp pccontrols.cpp pcfe.cpp pcgame.cpp pctext.cpp)
list(APPEND FRONTEND_SOURCES pcsave.cpp)
list(APPEND FRONTEND_SOURCES pcfmv.cpp)
list(APPEND FRONTEND_SOURCES intro.cpp)
