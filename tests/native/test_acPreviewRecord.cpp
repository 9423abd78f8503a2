#include "skin/data/acPreviewRecord.h"

#include <gtest/gtest.h>

TEST(PreviewRecord, FieldsRoundTripAndLongTextsAreCutInsideTheirFields) {
  const std::string longName(300, 'n');
  const auto block = MakePreviewRecord({longName, "C:\\Skins", "[FORM]\r\nCOLOR=255"});
  ASSERT_EQ(block.size(), 30646u);
  const auto r = ParsePreviewRecord(block);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->SkinName, std::string(127, 'n'));  // the folder field is not read into the name
  EXPECT_EQ(r->SkinFolder, "C:\\Skins");
  EXPECT_EQ(r->Options, "[FORM]\r\nCOLOR=255");
}

TEST(PreviewRecord, ForeignShortAndUnterminatedBlocksAreReadSafely) {
  auto block = MakePreviewRecord({"Garnet", "D:\\S", "x"});
  auto other = block;
  other[1] = 0xA5;
  EXPECT_FALSE(ParsePreviewRecord(other));
  EXPECT_FALSE(ParsePreviewRecord(std::span(block).first(644)));
  // Cut inside the options, with no zero after them: the text ends where the data does.
  std::fill(block.begin() + 645, block.end(), uint8_t{'a'});
  const auto cut = ParsePreviewRecord(std::span(block).first(700));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->Options, std::string(55, 'a'));
  EXPECT_EQ(ParsePreviewRecord(block)->Options.size(), 30001u);
  EXPECT_EQ(ParsePreviewRecord(std::span(block).first(645))->Options, "");
}
