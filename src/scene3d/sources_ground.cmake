# The ground: pitch markings and the fixed tables of pitch and stadium.
list(APPEND SCENE3D_SOURCES pitchline.cpp groundtab.cpp netgeom.cpp balldisc.cpp)
