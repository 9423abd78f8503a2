#include "installer/InstallSequence.h"

#include <gtest/gtest.h>

TEST(InstallSequence, GroupNameFallsBackOnlyWhenEmpty) {
  EXPECT_EQ(ProgramGroupName(""), "Kestamor");
  EXPECT_EQ(ProgramGroupName("   "), "   ");
  EXPECT_EQ(ProgramGroupName(" My Games "), " My Games ");
}

TEST(InstallSequence, CommandsQuoteGroupAndPaths) {
  const auto lines = ProgramGroupCommands("Kestamor", "C:\\Program Files\\Kestamor\\");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "[CreateGroup(\"Kestamor\",0)]");
  EXPECT_EQ(lines[1], "[ShowGroup(\"Kestamor\",1,0)]");
  EXPECT_EQ(lines[2], "[AddItem(\"C:\\Program Files\\Kestamor\\kestamor.exe\",\"Kestamor Start\")]");
  EXPECT_EQ(lines[3], "[AddItem(\"C:\\Program Files\\Kestamor\\help.chm\",\"Kestamor Help\")]");
  EXPECT_EQ(lines[4], "[AddItem(\"C:\\Program Files\\Kestamor\\uninstall.exe\",\"Kestamor Uninstall\")]");
}

TEST(InstallSequence, QuoteInGroupNameCannotInjectCommands) {
  const auto lines = ProgramGroupCommands("x\",0)][DeleteGroup(\"Accessories", "D:\\K\\");
  EXPECT_EQ(lines[0], "[CreateGroup(\"x,0)][DeleteGroup(Accessories\",0)]");
  // Only the quote goes: commas and parentheses stay inside the one quoted argument.
  EXPECT_EQ(ProgramGroupCommands("A, B (C)", "D:\\")[1], "[ShowGroup(\"A, B (C)\",1,0)]");
  // Undoing removes the group that was made, by the same name.
  EXPECT_EQ(ProgramGroupDeleteCommand("x\",0)][CreateGroup(\"y"), "[DeleteGroup(\"x,0)][CreateGroup(y\")]");
}

TEST(InstallSequence, InstanceIdIsRegistryTextWithoutPunctuation) {
  // {01234567-89AB-CDEF-0011-2233445566FF}
  EXPECT_EQ(InstanceIdText(0x01234567, 0x89AB, 0xCDEF, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xFF}),
            "0123456789ABCDEF00112233445566FF");
  const std::string zero = InstanceIdText(0, 0, 0, {});
  EXPECT_EQ(zero, std::string(32, '0'));
  // Leading zeros of every field are kept, so the text is always 32 characters.
  EXPECT_EQ(InstanceIdText(0xA, 0xB, 0xC, {1}).substr(0, 16), "0000000A000B000C");
}
