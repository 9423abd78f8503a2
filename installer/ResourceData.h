// Binary data stored in the executable as RCDATA resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes of an RCDATA resource of the running module; empty if it is missing.
std::vector<uint8_t> LoadResourceBytes(int id);
std::string LoadResourceText(int id);
