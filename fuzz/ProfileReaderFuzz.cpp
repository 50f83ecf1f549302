// Feeds arbitrary bytes to ProfileText as the text of a settings file: reads
// with assorted names, then writes one value that code page 932 holds and one
// that it does not, and checks that each reads back from the written bytes.

#include "platform/ProfileText.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// Names that are plain, differ only in case, carry ']' or 'A' as a trail byte
// in code page 932, are full-width, or are empty.
const QString kSections[] = {u"General"_s, u"GENERAL"_s, u"設定"_s, u"ゾ"_s, u"ａｂｃ"_s, u""_s};
const QString kKeys[] = {u"Key"_s, u"key"_s, u"フォント"_s, u"ア"_s, u"ヂ"_s, u""_s};
constexpr size_t kSectionCount = std::size(kSections);
constexpr size_t kKeyCount = std::size(kKeys);

void readAll(const ProfileText& text) {
  for (const QString& section : kSections)
    for (const QString& key : kKeys) static_cast<void>(text.readString(section, key, QString()));
}

void expectSameBytes(const ProfileText& text, const QByteArray& bytes) {
  if (text.toBytes() != bytes) __builtin_trap();
}

void expectWriteReadsBack(const ProfileText& original, const QString& section, const QString& key,
                          const QString& value) {
  ProfileText edited = original;
  if (!edited.writeString(section, key, value)) __builtin_trap();
  const ProfileText reread(edited.toBytes());
  if (reread.readString(section, key, QString()) != value) __builtin_trap();
  if (reread.readString(section.toLower(), key.toUpper(), QString()) != value) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const ProfileText text(bytes);
  expectSameBytes(text, bytes);
  readAll(text);

  // The first byte picks the names, so that writes meet the names of the input.
  const size_t pick = size > 0 ? data[0] : 0;
  const QString& section = kSections[pick % kSectionCount];
  const QString& key = kKeys[(pick / kSectionCount) % kKeyCount];
  expectWriteReadsBack(text, section, key, u"ＭＳ ゴシック～ｱ"_s);
  expectWriteReadsBack(text, section, key, u"😀 é 値"_s);
  return 0;
}
