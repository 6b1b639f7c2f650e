# Helpers of the computer team manager.
list(APPEND ENGINE_SOURCES aihelp.cpp)
