// Running the project's command-line tools from tests, and whole-file bytes.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct ToolResult {
  int Exit = -1;
  std::string Output;  // stdout and stderr
};

inline ToolResult RunProgram(const std::filesystem::path& tool, const std::string& args) {
  ToolResult r;
  FILE* p = popen(("'" + tool.string() + "' " + args + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.Output.append(buf, n);
  const int status = pclose(p);
  r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::filesystem::path& p, const std::vector<uint8_t>& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<long>(b.size()));
}
