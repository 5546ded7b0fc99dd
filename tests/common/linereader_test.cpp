#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/textfile.h"

namespace {

using namespace std::string_literals;
using LineList = std::vector<std::string>;

LineList Lines(std::string_view text) {
  LineReader reader(text);
  LineList lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  return lines;
}

TEST(LineReaderTest, LinesEndAtCrLfOrALoneCr) {
  EXPECT_EQ(Lines("one\r\ntwo\rthree\r\n"), (LineList{"one", "two", "three"}));
  EXPECT_EQ(Lines("a\r\rb"), (LineList{"a", "", "b"}));
  EXPECT_EQ(Lines("\r\r"), (LineList{"", ""}));
  EXPECT_EQ(Lines("\r\n"), (LineList{""}));
}

TEST(LineReaderTest, ALoneLfStaysInTheLine) {
  EXPECT_EQ(Lines("a\nb\r\nc"), (LineList{"a\nb", "c"}));
  EXPECT_EQ(Lines("\n\n"), (LineList{"\n\n"}));
  // CR LF is one terminator; an LF after it begins the next line.
  EXPECT_EQ(Lines("a\r\n\nb"), (LineList{"a", "\nb"}));
}

TEST(LineReaderTest, TheLastLineMayEndAtTheEndOfTheText) {
  EXPECT_EQ(Lines("first\r\nlast"), (LineList{"first", "last"}));
  // A final terminator ends the last line and starts no empty one.
  EXPECT_EQ(Lines("first\r\nlast\r\n"), (LineList{"first", "last"}));
  EXPECT_EQ(Lines("first\r\nlast\r"), (LineList{"first", "last"}));
}

TEST(LineReaderTest, EmptyTextHoldsNoLine) {
  LineReader reader("");
  EXPECT_TRUE(reader.AtEnd());
  std::string line = "untouched";
  EXPECT_FALSE(reader.Next(line));
  EXPECT_EQ(line, "untouched");
}

TEST(LineReaderTest, BlanksAndOtherBytesAreKept) {
  EXPECT_EQ(Lines("  lead\ttrail  \r\n\0mid\xFF\r\n"s), (LineList{"  lead\ttrail  ", "\0mid\xFF"s}));
}

}  // namespace
