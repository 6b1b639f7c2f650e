# The ground: pitch markings and the fixed tables of pitch and stadium.
list(APPEND SCENE3D_SOURCES pitchline.cpp groundtab.cpp netgeom.cpp balldisc.cpp)
list(APPEND SCENE3D_SOURCES pitch3d.cpp)
list(APPEND SCENE3D_SOURCES stadium3d.cpp)
list(APPEND SCENE3D_SOURCES goals3d.cpp)
list(APPEND SCENE3D_SOURCES ball3d.cpp)
list(APPEND SCENE3D_SOURCES markers3d.cpp)
