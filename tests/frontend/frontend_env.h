#pragma once
// The front-end tests run on the headless backend with a 640 x 480 16-bit
// display open, the executable's folder at <root>/bin and the data tree at
// <root>/data (the game's "..\data\").
#include <cstdint>
#include <filesystem>

struct QDLSpriteBank;

std::filesystem::path FrontEndTestRoot();
// The generated data tree of the build (<build>/data).
std::filesystem::path FrontEndBuildData();
// A one-frame bank in the display's pixel format: w x h raw pixels of value v.
QDLSpriteBank* FrontEndSolidBank(int w, int h, uint16_t v);
