list(APPEND SCENE3D_SOURCES texture.cpp model.cpp scene3d_state.cpp scene3d.cpp scene3d_query.cpp loading.cpp)
list(APPEND SCENE3D_SOURCES pcframe_snapshot.cpp)
list(APPEND SCENE3D_SOURCES player3d.cpp)
list(APPEND SCENE3D_SOURCES kits3d.cpp)
