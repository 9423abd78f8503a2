// Path rules of the wizard's navigation, kept free of Windows calls.
#pragma once

#include <string>

// Text with "\" appended unless it already ends in "\". An empty text stays
// empty: there is no last character to test, and "\" alone would name the
// root of the current drive.
std::string WithTrailingBackslash(const std::string& path);

// The path edit's text proposed for a Program Files directory: the directory,
// its separator, then the product folder ("C:\Program Files" ->
// "C:\Program Files\Kestamor", "D:\" -> "D:\Kestamor").
std::string ProposedInstallFolder(const std::string& programFilesDir);

// The Program Files directory to propose from: the registry's text when it is
// not empty, else the shell's folder, else "C:\Program Files\".
std::string ChooseProgramFilesDir(const std::string& fromRegistry, const std::string& fromShell);

