// Removal of the Start-menu program group through the shell's Program
// Manager DDE service, the same service the installer made it with.
#pragma once

#include <string>

// Sends "[DeleteGroup("<group>")]" and waits for the answer. True when the
// group's folder is gone afterwards (or never existed). A name that could
// reach beyond the group's own folder is not sent at all (false).
bool DeleteProgmanGroup(const std::string& group);

// Whether the group's folder exists in the user's or the common Programs folder.
bool ProgramGroupExists(const std::string& group);
