#pragma once
#include <filesystem>
#include <string>

// The test program's temporary folder (the device cache file lives there).
std::filesystem::path DisplayTestRoot();
std::string DisplayTestFile(const char* pName);
