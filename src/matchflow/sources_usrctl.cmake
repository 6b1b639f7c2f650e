# User control in open play.
list(APPEND MATCHFLOW_SOURCES usrctl.cpp usrctl_kick.cpp pausemenu_open.cpp)
