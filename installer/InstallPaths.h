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

// The Program Files directory to propose from when the registry gives none:
// the shell's folder, else "C:\Program Files\".
std::string FallbackProgramFilesDir(const std::string& fromShell);


// A path that names one folder whatever the current drive and directory are: a drive letter
// with its root ("C:\...") or a network share ("\\server\share...").
bool IsAbsolutePath(const std::string& path);
