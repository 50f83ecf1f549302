#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ShiftJisTest, ConvertsAsWindowsDoes) {
  const struct {
    QString text;
    QByteArray bytes;
    QString decoded;  // when the bytes read back as other text
  } cases[] = {
      {u""_s, "", {}},
      {u"Abc 1\x1A"_s, "Abc 1\x1A", {}},
      {u"～"_s, "\x81\x60", {}},
      {u"〜"_s, "\x81\x60", u"～"_s},  // wave dash: the bytes of the full-width tilde
      {u"ｱｲ"_s, "\xB1\xB2", {}},       // half-width katakana: one byte each
      {u"¥"_s, "\x5C", u"\\"_s},
      {u"ソ表"_s, "\x83\x5C\x95\x5C", {}},
      {u"①ⅰ"_s, "\x87\x40\xFA\x40", {}},  // NEC and IBM extensions
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShiftJis::encode(c.text), std::optional<QByteArray>(c.bytes)) << c.text.toStdString();
    EXPECT_EQ(ShiftJis::decode(c.bytes), std::optional<QString>(c.decoded.isNull() ? c.text : c.decoded));
  }
}

// The characters where code page 932 converters disagree: the bytes are glibc's
// "CP932", which the Windows build must write and read alike.
TEST(ShiftJisTest, WritesTheCharactersConvertersDisagreeOnAsGlibcCp932) {
  const std::pair<QString, QByteArray> oneWay[] = {
      {u"¢£¬"_s, "\x81\x91\x81\x92\x81\xCA"},  // read back as ￠￡￢
      {u"—‖−"_s, "\x81\x5C\x81\x61\x81\x7C"},  // read back as ―∥－
      {u"‾"_s, "\x7E"},
      {u"∵≒∑"_s, "\x81\xE6\x81\xE0\x87\x94"},  // in both JIS rows and NEC row 13
      {u"纊￤"_s, "\xFA\x5C\xFA\x55"},         // IBM extensions, not the NEC-selected copies
      {QString(QChar(0xE000)), "\xF0\x40"},    // user-defined area
  };
  for (const auto& [text, bytes] : oneWay)
    EXPECT_EQ(ShiftJis::encode(text), std::optional<QByteArray>(bytes)) << text.toStdString();

  const std::pair<QByteArray, QString> read[] = {
      {"\xED\x40\x87\x9A", u"纊∵"_s},  // NEC-selected IBM extension, NEC row 13
      {"\x81\x5F\x81\x91", u"＼￠"_s},
  };
  for (const auto& [bytes, text] : read) EXPECT_EQ(ShiftJis::decode(bytes), std::optional<QString>(text));

  // Windows alone maps these: U+0080 and U+F8F0..U+F8F3 to 0x80, 0xA0, 0xFD..0xFF.
  for (const char16_t unit : {u'\u0080', u'\uF8F0', u'\uF8F3'}) {
    qsizetype firstBad = -1;
    EXPECT_EQ(ShiftJis::encode(u"ｱ"_s + QChar(unit), &firstBad), std::nullopt);
    EXPECT_EQ(firstBad, 1);
  }
  for (const char* bytes : {"\xFE", "\x85\x40", "\xEB\x40", "\x81\x7F"})
    EXPECT_EQ(ShiftJis::decode(bytes), std::nullopt) << QByteArray(bytes).toHex().toStdString();
}

// Plain ASCII skips the converter; it must read and write as the converter
// does when the same bytes come with a character that needs it.
TEST(ShiftJisTest, AsciiAloneConvertsAsWithinOtherText) {
  QByteArray ascii;
  for (int byte = 1; byte < 0x80; ++byte) ascii += static_cast<char>(byte);
  const QByteArray kana = "\xB1";
  const std::optional<QString> alone = ShiftJis::decode(ascii);
  const std::optional<QString> mixed = ShiftJis::decode(ascii + kana);
  ASSERT_TRUE(alone && mixed);
  EXPECT_EQ(*alone + u"ｱ"_s, *mixed);
  EXPECT_EQ(ShiftJis::encode(*alone), std::optional<QByteArray>(ascii));
  EXPECT_EQ(ShiftJis::encode(*mixed), std::optional<QByteArray>(ascii + kana));
}

TEST(ShiftJisTest, RefusesWhatTheCodePageCannotHold) {
  const std::pair<QString, qsizetype> texts[] = {
      {u"ab😀c"_s, 2}, {u"é"_s, 0}, {u"日本한국"_s, 2}, {u"x€"_s, 1}, {u"a"_s + QChar(0xD800) + u"b"_s, 1}};
  for (const auto& [text, firstBad] : texts) {
    qsizetype reported = -1;
    EXPECT_EQ(ShiftJis::encode(text, &reported), std::nullopt) << text.toStdString();
    EXPECT_EQ(reported, firstBad) << text.toStdString();
  }
  for (const char* bytes : {"\x80", "a\xA0", "\xFD", "\xFF", "ab\x81", "\x81\x3D"})
    EXPECT_EQ(ShiftJis::decode(bytes), std::nullopt) << QByteArray(bytes).toHex().toStdString();
}

TEST(ShiftJisTest, CountsColumnsAsCodePageBytes) {
  const std::pair<QString, int> widths[] = {{u""_s, 0},     {u"abc"_s, 3}, {u"ｱｲｳ"_s, 3}, {u"日本"_s, 4},
                                            {u"～〜"_s, 4}, {u"¥"_s, 1},   {u"😀"_s, 2},   {u"한é"_s, 3}};
  for (const auto& [text, width] : widths) EXPECT_EQ(ShiftJis::width(text), width) << text.toStdString();

  EXPECT_EQ(ShiftJis::padRight(u"日本"_s, 6), u"日本  "_s);
  EXPECT_EQ(ShiftJis::padRight(u"ｱ"_s, 3), u"ｱ  "_s);
  EXPECT_EQ(ShiftJis::padRight(u"abcd"_s, 2), u"abcd"_s);
  EXPECT_EQ(ShiftJis::cutToWidth(u"日本語"_s, 5), u"日本"_s);
  EXPECT_EQ(ShiftJis::cutToWidth(u"a日本"_s, 4), u"a日"_s);
  EXPECT_EQ(ShiftJis::cutToWidth(u"ｱｲｳ"_s, 2), u"ｱｲ"_s);
  EXPECT_EQ(ShiftJis::cutToWidth(u"😀a"_s, 1), u""_s);
  EXPECT_EQ(ShiftJis::cutToWidth(u"😀a"_s, 3), u"😀a"_s);
}
