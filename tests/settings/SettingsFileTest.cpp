#include <gtest/gtest.h>

#include <cstdint>

#include "platform/NativePath.h"
#include "settings/SettingsFile.h"
#include "settings/StoredSizes.h"
#include "support/TempDir.h"

using namespace Qt::StringLiterals;

namespace {

class SettingsFileTest : public testing::Test {
 protected:
  SettingsFileTest() : file(dir.file(u"hoko32.ini"_s)) {}
  void setValue(const QString& value) { ASSERT_TRUE(file.writeText(u"Option"_s, u"Key"_s, value)); }

  TempDir dir;
  SettingsFile file;
};

TEST_F(SettingsFileTest, IntegerEncodings) {
  const struct {
    QString stored;
    int expected;
  } cases[] = {
      {u"512"_s, 512}, {u"-7"_s, -7},   {u"0x200"_s, 512}, {u"0X1f"_s, 31},       {u"$200"_s, 512},
      {u"0x"_s, 99},   {u"0xZZ"_s, 99}, {u"abc"_s, 99},    {u""_s, 99},           {u"12abc"_s, 99},
      {u"１２"_s, 99}, {u"+5"_s, 5},    {u"0"_s, 0},       {u"0xFFFFFFFF"_s, -1}, {u"99999999999"_s, 99},
  };
  for (const auto& c : cases) {
    setValue(c.stored);
    EXPECT_EQ(file.readInteger(u"option"_s, u"key"_s, 99), c.expected) << c.stored.toStdString();
  }
  EXPECT_EQ(file.readInteger(u"Option"_s, u"Missing"_s, 42), 42);
}

TEST(SettingsFileConversion, SixtyFourBitDecimalsAndThirtyTwoBitHexadecimal) {
  const struct {
    QString text;
    std::optional<std::int64_t> value;
  } cases[] = {
      {u"3000000000"_s, 3'000'000'000},
      {u"  +3000000000"_s, 3'000'000'000},
      {u"-2147483648"_s, INT32_MIN},
      {u"9223372036854775807"_s, INT64_MAX},
      {u"-9223372036854775808"_s, INT64_MIN},
      {u"9223372036854775808"_s, std::nullopt},
      {u"18446744073709551616"_s, std::nullopt},
      {u"99999999999999999999"_s, std::nullopt},
      {u"3000000000 "_s, std::nullopt},
      {u"+-3000000000"_s, std::nullopt},
      {u"-"_s, std::nullopt},
      {u"３０００００００００"_s, std::nullopt},
      {u"0xFFFFFFFF"_s, -1},
      {u"$100000000"_s, std::nullopt},  // hexadecimal stays 32-bit
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsFile::convertInteger64(c.text), c.value) << c.text.toStdString();
}

TEST_F(SettingsFileTest, StoredSizesBeyondThirtyTwoBitsAndValuesThatTrustNoDataFile) {
  const StoredSizeStore::RecordFile record{u"/data/rec.ｷﾛｸ"_s, u"/data/rec.ｷﾛｸ"_s};
  for (const std::int64_t size : {std::int64_t{3'000'000'000}, std::int64_t{INT64_MAX}}) {
    ASSERT_TRUE(file.writeStoredSize(record, size));
    EXPECT_EQ(file.readStoredSize(record).size, size);
  }
  for (const QString& value : {u"9223372036854775808"_s, u"-46"_s, u"0xFFFFFFFF"_s, u"3e9"_s}) {
    ASSERT_TRUE(file.writeText(u"FileSize"_s, StoredSizes::keyFor(record.canonicalPath), value,
                               SettingsFile::KeyMatch::ExactCase));
    EXPECT_EQ(file.readStoredSize(record).size, 0) << value.toStdString();
  }
}

TEST_F(SettingsFileTest, ByteOptionsKeepTheirLowEightBits) {
  const struct {
    QString stored;
    int expected;
  } cases[] = {{u"300"_s, 44}, {u"-1"_s, 255}, {u"255"_s, 255}, {u"256"_s, 0}, {u"junk"_s, 7}};
  for (const auto& c : cases) {
    setValue(c.stored);
    EXPECT_EQ(file.readByte(u"Option"_s, u"Key"_s, 7), c.expected) << c.stored.toStdString();
  }
}

TEST_F(SettingsFileTest, BooleansAreNonZeroIntegers) {
  const struct {
    QString stored;
    bool fallback;
    bool expected;
  } cases[] = {{u"1"_s, false, true},    {u"0"_s, true, false},  {u"-3"_s, false, true},
               {u"yes"_s, false, false}, {u"yes"_s, true, true}, {u"0x0"_s, true, false}};
  for (const auto& c : cases) {
    setValue(c.stored);
    EXPECT_EQ(file.readBool(u"Option"_s, u"Key"_s, c.fallback), c.expected) << c.stored.toStdString();
  }
  ASSERT_TRUE(file.writeBool(u"Option"_s, u"Flag"_s, true));
  EXPECT_EQ(file.readText(u"Option"_s, u"Flag"_s, {}), u"1"_s);
}

TEST_F(SettingsFileTest, MarksAreOneCharacter) {
  setValue(u"abc"_s);
  EXPECT_EQ(file.readMark(u"Option"_s, u"Key"_s, u"o"_s), u"a"_s);
  setValue(u""_s);
  EXPECT_EQ(file.readMark(u"Option"_s, u"Key"_s, u"o"_s), u"o"_s);
  setValue(u"★☆"_s);
  EXPECT_EQ(file.readMark(u"Option"_s, u"Key"_s, u"o"_s), u"★"_s);
  ASSERT_TRUE(file.writeMark(u"Option"_s, u"Key"_s, u"xyz"_s));
  EXPECT_EQ(file.readText(u"Option"_s, u"Key"_s, {}), u"x"_s);
}

TEST_F(SettingsFileTest, ColoursKeepTheSystemColourBitOnReadAndAreWrittenAsRgb) {
  setValue(u"-2147483640"_s);
  const SettingsColor c = file.readColor(u"Option"_s, u"Key"_s, White);
  EXPECT_TRUE(isSystemColor(c));
  EXPECT_EQ(systemColorIndex(c), SystemColorWindowText);
  ASSERT_TRUE(file.writeColor(u"Option"_s, u"Key"_s, 0xFF123456u));
  EXPECT_EQ(file.readColor(u"Option"_s, u"Key"_s, White), 0x123456);
}

TEST_F(SettingsFileTest, TextIsReadAsStored) {
  setValue(u"C:\\TAPPER\\記録～"_s);
  EXPECT_EQ(file.readText(u"Option"_s, u"Key"_s, {}), u"C:\\TAPPER\\記録～"_s);
  EXPECT_EQ(file.readText(u"Option"_s, u"Other"_s, u"default"_s), u"default"_s);
}

TEST_F(SettingsFileTest, FailedWriteNamesTheFile) {
  dir.write(u"plain"_s, "not a folder");
  SettingsFile blocked(dir.file(u"plain/hoko32.ini"_s));
  EXPECT_FALSE(blocked.writeInteger(u"Form"_s, u"Width"_s, 1));
  EXPECT_EQ(blocked.writeFailureMessage(),
            NativePath::toNative(dir.file(u"plain/hoko32.ini"_s)) + u" に書き込めません"_s);
}

}  // namespace
