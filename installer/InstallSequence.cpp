#include "installer/InstallSequence.h"

#include <algorithm>

std::string ProgramGroupName(const std::string& groupEditText) {
  return groupEditText.empty() ? std::string("Kestamor") : groupEditText;
}

std::string ProgramGroupFolderName(const std::string& group) {
  std::string g = group;
  g.erase(std::remove(g.begin(), g.end(), '"'), g.end());
  return g;
}

std::vector<std::string> ProgramGroupCommands(const std::string& group, const std::string& installDir) {
  const std::string g = ProgramGroupFolderName(group);
  return {
      "[CreateGroup(\"" + g + "\",0)]",
      "[ShowGroup(\"" + g + "\",1,0)]",
      "[AddItem(\"" + installDir + "kestamor.exe\",\"Kestamor Start\")]",
      "[AddItem(\"" + installDir + "help.chm\",\"Kestamor Help\")]",
      "[AddItem(\"" + installDir + "uninstall.exe\",\"Kestamor Uninstall\")]",
  };
}

std::string ProgramGroupDeleteCommand(const std::string& group) {
  return "[DeleteGroup(\"" + ProgramGroupFolderName(group) + "\")]";
}

namespace {

void AppendHex(std::string& out, uint64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

}  // namespace

std::string InstanceIdText(uint32_t data1, uint16_t data2, uint16_t data3, const std::array<uint8_t, 8>& data4) {
  std::string id;
  id.reserve(32);
  AppendHex(id, data1, 8);
  AppendHex(id, data2, 4);
  AppendHex(id, data3, 4);
  for (uint8_t b : data4) AppendHex(id, b, 2);
  return id;
}
