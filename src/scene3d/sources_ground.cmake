# The ground: pitch markings and the fixed tables of pitch and stadium.
list(APPEND SCENE3D_SOURCES pitchline.cpp groundtab.cpp netgeom.cpp balldisc.cpp)
list(APPEND SCENE3D_SOURCES pitch3d.cpp)
