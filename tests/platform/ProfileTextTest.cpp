#include "platform/ProfileText.h"

#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QString kMissing = u"<missing>"_s;

// Code page 932 bytes of text written here in UTF-8.
QByteArray sjis(const char* utf8) { return ShiftJis::encode(QString::fromUtf8(utf8)).value(); }

QString read(const QByteArray& bytes, const char* section, const char* key) {
  return ProfileText(bytes).readString(QString::fromUtf8(section), QString::fromUtf8(key), kMissing);
}

QByteArray afterWrite(const QByteArray& bytes, const char* section, const char* key, const char* value) {
  ProfileText text(bytes);
  EXPECT_TRUE(text.writeString(QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value)));
  return text.toBytes();
}

}  // namespace

TEST(ProfileTextTest, ReadsValuesAsWindowsDoes) {
  const struct {
    QByteArray file;
    const char* section;
    const char* key;
    const char* expected;  // nullptr: not found
  } cases[] = {
      {"[A]\r\nk=v\r\n", "A", "k", "v"},
      {"[General]\nKey=1\n", "GENERAL", "kEY", "1"},
      {"  [ A ] tail\n  k  =  v w  \n", "A", "k", "v w"},
      {"[A]\n\tk\t=\tv\t\n", "A", " k\t", "v"},
      {"[A]\nk=a=b\n", "A", "k", "a=b"},
      {"[A]\rk=v\r", "A", "k", "v"},
      {"[A]\nk=\"x y\"\n", "A", "k", "x y"},
      {"[A]\nk='\"x\"'\n", "A", "k", "\"x\""},
      {"[A]\nk=\"x'\n", "A", "k", "\"x'"},
      {"[A]\nk=a\x1A\n", "A", "k", "a\x1A"},
      {"[A]\nk=a\x80z\n", "A", "k", "a\uFFFDz"},
      {"[A]\nk=1\n[A]\nk=2\nj=3\n", "A", "k", "1"},  // the first section wins...
      {"[A]\nk=1\n[A]\nk=2\nj=3\n", "A", "j", nullptr},
      {"[A]\nk=1\nK=2\n", "A", "k", "1"},  // ...and its first key
      {"k=0\n[A]\n", "A", "k", nullptr},
      {"[A]\n;k=1\n  ;k=2\nk\nk=3\n", "A", "k", "3"},
      {"[A]\n[B]\nk=1\n", "A", "k", nullptr},
      {"", "A", "k", nullptr},
      {sjis("[設定]\r\nフォント=ＭＳ ゴシック\r\n"), "設定", "フォント", "ＭＳ ゴシック"},
      {sjis("[ＡＢＣ]\r\nk=1\r\n"), "ａｂｃ", "K", "1"},
      {sjis("[ゾ]\r\nk=1\r\n"), "ゾ", "k", "1"},          // ']' as a trail byte
      {sjis("[A]\r\nヂ=1\r\nア=2\r\n"), "A", "ア", "2"},  // trail bytes 'a' and 'A' differ
      {kBom + "[設定]\nキー=値\n", "設定", "キー", "値"},
      {"[設定]\nキー=値\n", "設定", "キー", nullptr},  // UTF-8 without a mark is no UTF-8
  };
  for (const auto& c : cases)
    EXPECT_EQ(read(c.file, c.section, c.key), c.expected ? QString::fromUtf8(c.expected) : kMissing)
        << c.file.toStdString() << " [" << c.section << "] " << c.key;
}

TEST(ProfileTextTest, UsesAtMost1023BytesWithoutSplittingACharacter) {
  const auto x = [](int count) { return QByteArray(count, 'x'); };
  const auto text = [](const QByteArray& latin1, const QString& more = QString()) {
    return QString::fromLatin1(latin1) + more;
  };
  EXPECT_EQ(read("[A]\nk=" + x(1023) + "yz\n", "A", "k"), text(x(1023)));
  EXPECT_EQ(read("[A]\nk=\"" + x(1023) + "\"\n", "A", "k"), text(x(1023)));
  EXPECT_EQ(read("[A]\nk=" + x(1021) + sjis("日本"), "A", "k"), text(x(1021), u"日"_s));
  EXPECT_EQ(read("[A]\nk=" + x(1022) + sjis("日"), "A", "k"), text(x(1022)));
  EXPECT_EQ(read(kBom + "[A]\nk=" + x(1020) + "日本", "A", "k"), text(x(1020), u"日"_s));
  EXPECT_EQ(read(kBom + "[A]\nk=" + x(1021) + "日", "A", "k"), text(x(1021)));
}

TEST(ProfileTextTest, WritesTheFirstMatchAndKeepsEveryOtherLine) {
  const struct {
    QByteArray file;
    const char* section;
    const char* key;
    QByteArray expected;
  } cases[] = {
      {"; head\r\n[A]\r\n  Key = old \r\nz=1\r\n", "a", "KEY", "; head\r\n[A]\r\nKey=v\r\nz=1\r\n"},
      {"[A]\nk=1\n[a]\nk=2\n", "A", "K", "[A]\nk=v\n[a]\nk=2\n"},
      {"[A]\nx=1\n\n; note\n[B]\n", "A", "k", "[A]\nx=1\nk=v\n\n; note\n[B]\n"},
      {"[A]\n[B]\n", "A", "k", "[A]\nk=v\n[B]\n"},
      {"[A]\r\nx=1\r\n", "B", "k", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\nx=1\n\n", "B", "k", "[A]\nx=1\n\n[B]\nk=v\n"},
      {"[A]\nx=1", "A", "k", "[A]\nx=1\nk=v\n"},
      {"[A]\nx=1", "B", "k", "[A]\nx=1\n\n[B]\nk=v\n"},
      {"[A]\rx=1\r", "A", "k", "[A]\rx=1\rk=v\r"},
      {"[A]\nx=1\r\n", "A", "k", "[A]\nx=1\r\nk=v\r\n"},
      {"a\nb\r", "B", "k", "a\nb\r\r[B]\nk=v\n"},
      {"k=0\n", "", "k", "k=0\n\n[]\nk=v\n"},
      {"", "A", "k", "[A]\r\nk=v\r\n"},
      {kBom, "A", "k", kBom + "[A]\r\nk=v\r\n"},
      {"\x1A\xFF\x81\n[A]\n \t\x80=\x82\x10\nk\n", "A", "k", "\x1A\xFF\x81\n[A]\n \t\x80=\x82\x10\nk=v\nk\n"},
      {sjis("[設定]\r\nヂ=1\r\n"), "設定", "ア", sjis("[設定]\r\nヂ=1\r\nア=v\r\n")},
      {kBom + "[設定]\n", "設定", "キー", kBom + "[設定]\nキー=v\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(afterWrite(c.file, c.section, c.key, "v"), c.expected) << c.file.toStdString();
}

TEST(ProfileTextTest, LeavesUnchangedTextByteForByte) {
  for (const QByteArray& bytes :
       {QByteArray("a\r\nb\rc\n\nd"), QByteArray("\r\r\n\n\x1A"), kBom + "[x]\xFF\n", QByteArray("\x81\r\n\x82")})
    EXPECT_EQ(ProfileText(bytes).toBytes(), bytes);
}

TEST(ProfileTextTest, TurnsTheTextIntoUtf8ForAValueOutsideTheCodePage) {
  const QByteArray file = sjis("; コメント\r\n[A]\r\nname=山田\r\n") + "\x80 broken\r\n";
  ProfileText text(file);
  ASSERT_TRUE(text.writeString(u"A"_s, u"icon"_s, u"😀 ～"_s));
  EXPECT_TRUE(text.isUtf8());
  EXPECT_EQ(text.toBytes(), kBom + "; コメント\r\n[A]\r\nname=山田\r\nicon=😀 ～\r\n\x80 broken\r\n");
  EXPECT_EQ(text.readString(u"a"_s, u"NAME"_s, kMissing), u"山田"_s);
}

TEST(ProfileTextTest, FindsTheKeyWhereTheUtf8TextHasIt) {
  // In code page 932 the key of the second line reads as other text; once the
  // file is UTF-8 it is the key written.
  const QByteArray file = "[A]\n" + QByteArray("キー") + "=old\xFF\n";
  EXPECT_EQ(afterWrite(file, "A", "キー", "😀"), kBom + "[A]\nキー=😀\n");
}

TEST(ProfileTextTest, RefusesWhatCannotBeReadBack) {
  const QByteArray file = "[A]\nk=1\n";
  ProfileText text(file);
  const QString refused[][3] = {{u"A"_s, u"k"_s, u"1\n2"_s}, {u"A"_s, u"k\r"_s, u"1"_s}, {u"A]"_s, u"k"_s, u"1"_s},
                                {u"A"_s, u"k=j"_s, u"1"_s},  {u"A"_s, u";k"_s, u"1"_s},  {u"A"_s, u" [k"_s, u"1"_s}};
  for (const auto& [section, key, value] : refused)
    EXPECT_FALSE(text.writeString(section, key, value)) << key.toStdString();
  EXPECT_EQ(text.toBytes(), file);
}
