// Directory creation for the installation worker.
#pragma once

#include <string>
#include <vector>

// Makes `dir` and any missing parent; true when it exists as a directory afterwards.
// An empty path is never created. Each directory made is appended to `made`, parents first.
bool ForceDirectories(std::string dir, std::vector<std::string>* made = nullptr);
