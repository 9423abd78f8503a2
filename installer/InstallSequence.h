// The fixed texts and tables of one installation: directories, progress steps, the instance
// identifier, the Program Manager commands. Kept free of Windows calls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Directories made before any file, in this order, relative to the install directory
// (the first is the install directory itself).
inline constexpr std::array<const char*, 10> kInstallDirectories = {
    "", "Data", "Data\\b", "Data\\e", "Data\\h", "Data\\s", "Data\\t", "Data\\u", "Data\\w", "sounds"};

// One update of the progress page: bar position (0-100) and status text.
struct ProgressStep {
  int Position;
  const char* Status;
};

namespace progress {
inline constexpr ProgressStep kCreateDirectories{10, "Create directories..."};
inline constexpr ProgressStep kUnpackFiles{20, "Unpack files..."};
// Shown once the record before it is in place; index i follows record i + 1 (records 1-7).
inline constexpr std::array<ProgressStep, 7> kAfterRecord = {{
    {30, "Copy file kestamor.exe..."},
    {40, "Copy file help.chm..."},
    {50, "Copy file uninstall.exe..."},
    {60, "Copy sound file #1..."},
    {70, "Copy sound file #2..."},
    {75, "Copy sound file #3..."},
    {85, "Copy sound file #4..."},
}};
// Whether a 1000 ms pause follows the step after record i + 1.
inline constexpr std::array<bool, 7> kPauseAfterRecord = {false, false, true, true, true, true, false};
inline constexpr ProgressStep kCreateProgramGroup{90, "Create program group..."};
inline constexpr ProgressStep kCreateDesktopShortcut{95, "Create desktop shortcut..."};
inline constexpr ProgressStep kCompleted{100, "Completed."};
}  // namespace progress

inline constexpr unsigned kStepPauseMs = 1000;

// The group name from the group edit's text: "Kestamor" when empty, else the text as typed.
std::string ProgramGroupName(const std::string& groupEditText);

// The five Program Manager command lines for group `group` and install directory
// `installDir` (ending in "\"). A double quote in the group name would close the quoted
// argument and let the rest run as further commands, so it is removed; everything else is
// inserted as it stands.
std::vector<std::string> ProgramGroupCommands(const std::string& group, const std::string& installDir);
// The name the group gets (its folder's name): the group name without double quotes.
std::string ProgramGroupFolderName(const std::string& group);
// The one command that removes the group again, quoted like the others.
std::string ProgramGroupDeleteCommand(const std::string& group);

// The 32-character instance identifier of a GUID: its registry text in upper case without
// braces and hyphens.
std::string InstanceIdText(uint32_t data1, uint16_t data2, uint16_t data3, const std::array<uint8_t, 8>& data4);
