list(APPEND SCENE3D_SOURCES pcframe.cpp)
list(APPEND SCENE3D_SOURCES pcframe_replay.cpp)
