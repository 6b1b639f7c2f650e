# Keyboard, joysticks, mouse, input ports and the scripted input.
add_subdirectory(input)
