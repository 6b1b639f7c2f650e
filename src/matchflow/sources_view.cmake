# Camera, camera paths, captions, the replay recorder and its mode.
list(APPEND MATCHFLOW_SOURCES camera.cpp virtdir.cpp caption.cpp replayrec.cpp)
