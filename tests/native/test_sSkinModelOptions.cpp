// The options file syntax and its reads, with and without PARENTCLASS inheritance.
#include <gtest/gtest.h>

#include "skin/data/sSkinOptions.h"

namespace {

TEST(OptionsSyntax, LinesSectionsAndKeys) {
  const auto o = TsSkinOptions::Parse(
      "ORPHAN=1\r\n"
      "; comment\r\n"
      "  [ FORM ]  \r\n"
      "\tCOLOR = 2434349 \r"
      "no equals sign here\n"
      "GRADIENTDATA=a=b\r\n"
      "\r\n"
      "[BUTTON]\n"
      "STATES=3\n"
      "[FORM]\n"
      "FONTCOLOR=9013657");
  ASSERT_EQ(o.Sections().size(), 2u);
  EXPECT_EQ(o.Sections()[0].Name, "FORM");
  EXPECT_EQ(o.Sections()[1].Name, "BUTTON");
  EXPECT_EQ(o.ReadString("FORM", "COLOR", ""), "2434349");
  EXPECT_EQ(o.ReadString("FORM", "GRADIENTDATA", ""), "a=b");  // split at the first "="
  // A repeated section continues the first one, keeping key order.
  const auto& form = o.Sections()[0].Entries;
  ASSERT_EQ(form.size(), 3u);
  EXPECT_EQ(form[2].Key, "FONTCOLOR");
  EXPECT_EQ(o.SectionIndexOf("ORPHAN"), -1);
  EXPECT_EQ(o.Section("form"), nullptr);              // names are case-sensitive
  EXPECT_EQ(o.ReadString("FORM", "color", "x"), "x");
}

TEST(OptionsSyntax, ParsingLinesGivesTheSameAsText) {
  const auto a = TsSkinOptions::Parse("[A]\r\nK=1\r\n[B]\r\nK=2\r\n");
  const auto b = TsSkinOptions::ParseLines({"[A]", "K=1", "[B]", "K=2"});
  ASSERT_EQ(b.Sections().size(), 2u);
  EXPECT_EQ(a.ReadString("B", "K", ""), b.ReadString("B", "K", ""));
}

TEST(OptionsReads, TypedReadsAndDefaults) {
  const auto o = TsSkinOptions::Parse(
      "[S]\nN=12\nH=$10\nBAD=twelve\nT1=TRUE\nT2=1\nT3=true\nF1=yes\nQ=?\nE=\n");
  EXPECT_EQ(o.ReadInteger("S", "N", 0), 12);
  EXPECT_EQ(o.ReadInteger("S", "H", 0), 16);
  EXPECT_EQ(o.ReadInteger("S", "BAD", 7), 7);
  EXPECT_EQ(o.ReadInteger("S", "MISSING", 7), 7);
  EXPECT_TRUE(o.ReadBool("S", "T1", false));
  EXPECT_TRUE(o.ReadBool("S", "T2", false));
  EXPECT_TRUE(o.ReadBool("S", "T3", false));
  EXPECT_FALSE(o.ReadBool("S", "F1", true));
  EXPECT_EQ(o.ReadString("S", "Q", ""), "?");
  EXPECT_EQ(o.ReadString("S", "E", "x"), "");
}

TEST(OptionsInheritance, AbsentMinusOneAndQuestionMarkInherit) {
  const auto o = TsSkinOptions::Parse(
      "[BASE]\nTCLEFT=5\nCOLOR=100\nGRADIENTDATA=1;2;3;4;5\nAUTHOR=base\n"
      "[MID]\nPARENTCLASS=BASE\nCOLOR=200\n"
      "[LEAF]\nPARENTCLASS=MID\nTCLEFT=-1\nGRADIENTDATA=?\nAUTHOR=\nSTATES=many\n");
  EXPECT_EQ(o.ReadIntInherited("LEAF", "TCLEFT", -1), 5);  // -1 behaves as absent
  EXPECT_EQ(o.ReadIntInherited("LEAF", "COLOR", 0), 200);  // nearest ancestor wins
  EXPECT_EQ(o.ReadStrInherited("LEAF", "GRADIENTDATA", " "), "1;2;3;4;5");
  EXPECT_EQ(o.ReadStrInherited("LEAF", "AUTHOR", "d"), "");  // empty is a value
  EXPECT_EQ(o.ReadIntInherited("LEAF", "STATES", 4), 4);     // a non-number counts as absent
  EXPECT_EQ(o.ReadIntInherited("LEAF", "GLOW", 9), 9);
  EXPECT_EQ(o.ReadIntInherited("NOSUCH", "COLOR", 3), 3);
}

TEST(OptionsInheritance, ChainsEndAtSelfMissingAndCycles) {
  const auto o = TsSkinOptions::Parse(
      "[SELF]\nPARENTCLASS=SELF\n"
      "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n"
      "[X]\nPARENTCLASS=Y\n[Y]\nPARENTCLASS=Z\n[Z]\nPARENTCLASS=Y\nCOLOR=77\n"
      "[P]\nPARENTCLASS=?\n[M]\nPARENTCLASS=GONE\n");
  EXPECT_EQ(o.ReadIntInherited("SELF", "COLOR", 11), 11);
  EXPECT_EQ(o.ReadIntInherited("A", "COLOR", 12), 12);
  EXPECT_EQ(o.ReadStrInherited("B", "GRADIENTDATA", "d"), "d");
  EXPECT_EQ(o.ReadIntInherited("X", "COLOR", 0), 77);  // found inside the cycle before it closes
  EXPECT_EQ(o.ReadIntInherited("X", "GLOW", 13), 13);
  EXPECT_EQ(o.ReadIntInherited("P", "COLOR", 14), 14);
  EXPECT_EQ(o.ReadIntInherited("M", "COLOR", 15), 15);
}

}  // namespace
