// The Start-menu program group as the shell keeps it: a folder of the user's or the common
// Programs menu.
#pragma once

#include <string>

// True when a group of that name is in either menu.
bool ProgramGroupExists(const std::string& group);
