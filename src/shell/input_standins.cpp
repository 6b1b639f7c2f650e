// Minimal input-port calls until the input ports are built into the shell: no
// port is read and no event is made.
#include "shell/input.h"

void input_PortsInit() {}
void input_PortsRead() {}
void input_EventsGenerate() {}
void input_BindingTablesClear() {}
void input_DefaultBindingsRegister() {}
void input_PortBindingSet(int32_t, InputPort*) {}
void input_EventQueueFlush(Queue*) {}
void input_ActiveUsersBind(int32_t) {}
int32_t input_bControllerMissing() { return 0; }
void input_FirstFreeUserAttach() {}
