#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The text of a private-profile ("INI") file held in memory, read and changed
// one value at a time the way Windows' GetPrivateProfileString and
// WritePrivateProfileString do. ProfileFile adds the reading and writing of the
// file itself.
//
// The text is kept as the file's bytes, line by line; only section names, keys
// and values are decoded, so a change leaves every other line exactly as it
// was, even one that is no valid text.
//
// - Lines end in CR LF, LF or CR. A line whose first non-blank character is '['
//   opens a section named by the text up to ']'; "key=value" lines inside a
//   section are its entries (split at the first '=', both sides trimmed of
//   blanks and tabs). Lines starting with ';' are comments; lines before the
//   first section belong to none and are never found.
// - Names match without regard to case, compared as decoded text (keys may be
//   asked to match exactly); the first matching section and, in it, the first
//   matching key win.
// - Encoding: code page 932, or UTF-8 when the text starts with a UTF-8
//   byte-order mark. Writing something that code page 932 cannot hold turns the
//   whole text into UTF-8 with a byte-order mark.
class ProfileText {
 public:
  // Windows reads values into a buffer of 1024 bytes, the last for the NUL.
  static constexpr qsizetype kMaxValueBytes = 1023;

  // How keys are matched. Section names always match without regard to case;
  // keys that name files on a file system where case matters need ExactCase.
  enum class KeyMatch { AnyCase, ExactCase };

  explicit ProfileText(const QByteArray& bytes = QByteArray());

  // The value without surrounding blanks and one pair of matching quotes, cut
  // to kMaxValueBytes bytes; `fallback` when the section or the key is missing.
  QString readString(const QString& section, const QString& key, const QString& fallback) const;
  // The same, or nothing when the section or the key is missing.
  std::optional<QString> readValue(const QString& section, const QString& key,
                                   KeyMatch match = KeyMatch::AnyCase) const;

  // Sets the value, replacing the first matching entry or adding one at the end
  // of the section (adding the section at the end of the text if needed).
  // Returns false and changes nothing when canStore() says no.
  bool writeString(const QString& section, const QString& key, const QString& value,
                   KeyMatch match = KeyMatch::AnyCase);

  // Removes the first matching entry; false when there was none.
  bool removeKey(const QString& section, const QString& key, KeyMatch match = KeyMatch::AnyCase);

  // Whether the names and the value can be written so that they read back: no
  // line breaks anywhere, no ']' in the section name, no '=' in the key and no
  // key starting with '[' or ';'. Names are taken without surrounding blanks.
  static bool canStore(const QString& section, const QString& key, const QString& value);

  QByteArray toBytes() const;

  bool isUtf8() const { return utf8_; }

 private:
  struct Line {
    QByteArray text;
    QByteArray end;  // "\r\n", "\n", "\r", or empty for a last line without one
  };
  struct Entry {
    QByteArrayView key;
    QByteArrayView value;
  };
  // Where a name was found: line indexes, -1 when not found.
  struct Place {
    qsizetype section = -1;
    qsizetype entry = -1;
    qsizetype lastEntry = -1;  // the line to add a new entry after
  };

  Place find(QStringView section, QStringView key, KeyMatch match) const;
  std::optional<QByteArrayView> sectionNameOf(const Line& line) const;
  static std::optional<Entry> entryOf(const Line& line);
  bool nameMatches(QByteArrayView bytes, QStringView name, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

  qsizetype indexOfCharacter(QByteArrayView bytes, char wanted) const;
  QByteArrayView cutToBytes(QByteArrayView bytes, qsizetype maxBytes) const;
  std::optional<QString> decodeStrict(QByteArrayView bytes) const;
  QString decodeLenient(QByteArrayView bytes) const;
  QByteArray encode(QStringView text) const;
  static bool fitsCodePage(QStringView text);

  void convertToUtf8();
  QByteArray lineEnding() const;
  void insertLine(qsizetype at, const QByteArray& text, const QByteArray& ending);
  void appendSection(QStringView section, const QByteArray& entryLine, const QByteArray& ending);

  std::vector<Line> lines_;
  bool utf8_ = false;
};
