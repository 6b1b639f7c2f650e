#pragma once
// The input-port operations the shell calls.
#include <cstdint>

void input_PortsInit();
void input_PortsRead();
void input_EventsGenerate();
void input_BindingTablesClear();
void input_DefaultBindingsRegister();
void input_ActiveUsersBind(int32_t eBinding);
int32_t input_bControllerMissing();
void input_FirstFreeUserAttach();
