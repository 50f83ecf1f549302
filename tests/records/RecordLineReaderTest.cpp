#include <gtest/gtest.h>

#include <QBuffer>

#include <string>
#include <vector>

#include "records/RecordLineReader.h"

namespace {

std::vector<std::string> linesOf(const std::string& text, std::size_t keptBytes = RecordLineReader::DefaultKeptBytes) {
  QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  RecordLineReader reader(buffer, keptBytes);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line)) lines.emplace_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(RecordLineReader, LineEnds) {
  const struct {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\nb\n", {"a\nb\n"}},              // a lone LF is part of the line
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},  // an empty line is a line
      {"\r\n", {""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\r\nb", {"a\n", "b"}},
      {"a\r\n\x1a"
       "b\r\n",
       {"a"}},  // 0x1A ends the text
      {"a\x1a"
       "b",
       {"a"}},
      {"\x1a", {}},
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) EXPECT_EQ(linesOf(c.text), c.lines) << '"' << c.text << '"';
}

TEST(RecordLineReader, LongLinesKeepOnlyTheirStart) {
  const std::string longLine(200000, 'x');
  const Lines lines = linesOf(longLine + "\r\nshort\r\n", 44);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(44, 'x'));
  EXPECT_EQ(lines[1], "short");
}

TEST(RecordLineReader, LineEndsSplitAcrossReadChunks) {
  // The reader takes 64 KiB at a time; put CR LF and 0x1A across the seams.
  for (std::size_t seam : {65535u, 65536u, 65537u}) {
    std::string text(seam - 1, 'y');
    text += "\r\nnext\r\n";
    const Lines lines = linesOf(text);
    ASSERT_EQ(lines.size(), 2u) << seam;
    EXPECT_EQ(lines[1], "next");
    const Lines ended = linesOf(std::string(seam, 'z') +
                                "\x1a"
                                "after");
    ASSERT_EQ(ended.size(), 1u);
  }
}

}  // namespace
