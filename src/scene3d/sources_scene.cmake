list(APPEND SCENE3D_SOURCES texture.cpp model.cpp)
