list(APPEND SCENE3D_SOURCES pcframe.cpp)
