# The audio library, the platform mixer, the CD tracks and the sound tools.
add_subdirectory(audio)
