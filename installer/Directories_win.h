// Directory creation for the installation worker.
#pragma once

#include <string>

// Makes `dir` and any missing parent; true when it exists as a directory afterwards.
// An empty path is never created.
bool ForceDirectories(std::string dir);
