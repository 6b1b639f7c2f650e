// Stand-in for the in-match pause menu until it is built: Start is ignored
// and play goes on. It has a file of its own so that tests can link their
// own recording version in its place.
#include "matchflow/usrctl_services.h"

void pausemenu_Open(User*, UsrctlResumeFn) {}
