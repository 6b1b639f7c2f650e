# The animation data set: tools/anim/animgen builds every clip from
# assets/anim/, checks it and writes the rows and pose frames as C++ into the
# build tree; they are compiled into the engine with the skeleton walk.
include(${CMAKE_SOURCE_DIR}/tools/anim/animgen.cmake)
list(APPEND ENGINE_SOURCES anim_pose.cpp ${KORVENA_ANIM_SOURCES})
set_source_files_properties(${KORVENA_ANIM_SOURCES} PROPERTIES GENERATED TRUE)
