#include "platform/ProfileText.h"

#include "platform/ShiftJis.h"

#include <QStringDecoder>

namespace {

constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
constexpr QByteArrayView kCrLf = "\r\n";
constexpr QByteArrayView kLf = "\n";
constexpr QByteArrayView kCr = "\r";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QByteArrayView withoutLeadingBlanks(QByteArrayView bytes) {
  while (!bytes.isEmpty() && isBlank(bytes.front())) bytes = bytes.sliced(1);
  return bytes;
}

QByteArrayView withoutBlanks(QByteArrayView bytes) {
  bytes = withoutLeadingBlanks(bytes);
  while (!bytes.isEmpty() && isBlank(bytes.back())) bytes.chop(1);
  return bytes;
}

QStringView withoutBlanks(QStringView text) {
  while (!text.isEmpty() && isBlank(text.front())) text = text.sliced(1);
  while (!text.isEmpty() && isBlank(text.back())) text.chop(1);
  return text;
}

bool isBlankLine(QByteArrayView bytes) { return withoutLeadingBlanks(bytes).isEmpty(); }

bool hasLineBreak(QStringView text) { return text.contains(u'\r') || text.contains(u'\n'); }

// Bytes that start a double-byte character in code page 932. Trail bytes run
// from 0x40 to 0xFC and so can look like '[', ']' or '\', but never like a
// blank, a line break, '=', ';' or a quote.
bool isLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

qsizetype characterLength(QByteArrayView bytes, qsizetype at) {
  return isLeadByte(bytes[at]) && at + 1 < bytes.size() ? 2 : 1;
}

QByteArrayView unquoted(QByteArrayView value) {
  if (value.size() < 2) return value;
  const char first = value.front();
  if ((first == '"' || first == '\'') && value.back() == first) return value.sliced(1, value.size() - 2);
  return value;
}

QByteArray lineEndAt(QByteArrayView bytes, qsizetype at) {
  if (bytes[at] == '\n') return kLf.toByteArray();
  if (at + 1 < bytes.size() && bytes[at + 1] == '\n') return kCrLf.toByteArray();
  return kCr.toByteArray();
}

}  // namespace

ProfileText::ProfileText(const QByteArray& bytes) {
  QByteArrayView rest = bytes;
  if (rest.startsWith(kUtf8Bom)) {
    utf8_ = true;
    rest = rest.sliced(kUtf8Bom.size());
  }
  qsizetype start = 0;
  for (qsizetype i = 0; i < rest.size(); ++i) {
    if (rest[i] != '\r' && rest[i] != '\n') continue;
    Line line{rest.sliced(start, i - start).toByteArray(), lineEndAt(rest, i)};
    i += line.end.size() - 1;
    start = i + 1;
    lines_.push_back(std::move(line));
  }
  if (start < rest.size()) lines_.push_back(Line{rest.sliced(start).toByteArray(), QByteArray()});
}

QString ProfileText::readString(const QString& section, const QString& key, const QString& fallback) const {
  return readValue(section, key).value_or(fallback);
}

std::optional<QString> ProfileText::readValue(const QString& section, const QString& key, KeyMatch match) const {
  const Place place = find(withoutBlanks(section), withoutBlanks(key), match);
  if (place.entry < 0) return std::nullopt;
  const std::optional<Entry> entry = entryOf(lines_[place.entry]);
  return decodeLenient(cutToBytes(unquoted(entry->value), kMaxValueBytes));
}

bool ProfileText::removeKey(const QString& section, const QString& key, KeyMatch match) {
  const Place place = find(withoutBlanks(section), withoutBlanks(key), match);
  if (place.entry < 0) return false;
  lines_.erase(lines_.begin() + place.entry);
  return true;
}

bool ProfileText::writeString(const QString& section, const QString& key, const QString& value, KeyMatch match) {
  if (!canStore(section, key, value)) return false;
  const QStringView sectionName = withoutBlanks(section);
  const QStringView keyName = withoutBlanks(key);
  // Convert before looking: after the change the names must be found where
  // they were written.
  if (!utf8_ && !(fitsCodePage(sectionName) && fitsCodePage(keyName) && fitsCodePage(value))) convertToUtf8();

  const QByteArray ending = lineEnding();
  const Place place = find(sectionName, keyName, match);
  if (place.entry >= 0) {
    Line& line = lines_[place.entry];
    line.text = entryOf(line)->key.toByteArray() + '=' + encode(value);
    return true;
  }
  const QByteArray entryLine = encode(keyName) + '=' + encode(value);
  if (place.section >= 0)
    insertLine(place.lastEntry + 1, entryLine, ending);
  else
    appendSection(sectionName, entryLine, ending);
  return true;
}

bool ProfileText::canStore(const QString& section, const QString& key, const QString& value) {
  const QStringView sectionName = withoutBlanks(section);
  const QStringView keyName = withoutBlanks(key);
  if (hasLineBreak(sectionName) || hasLineBreak(keyName) || hasLineBreak(value)) return false;
  if (sectionName.contains(u']') || keyName.contains(u'=')) return false;
  return !keyName.startsWith(u'[') && !keyName.startsWith(u';');
}

QByteArray ProfileText::toBytes() const {
  QByteArray bytes;
  if (utf8_) bytes += kUtf8Bom;
  for (const Line& line : lines_) bytes += line.text + line.end;
  return bytes;
}

ProfileText::Place ProfileText::find(QStringView section, QStringView key, KeyMatch match) const {
  const Qt::CaseSensitivity keyCase = match == KeyMatch::ExactCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  Place place;
  for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i) {
    const Line& line = lines_[i];
    if (const std::optional<QByteArrayView> name = sectionNameOf(line)) {
      if (place.section >= 0) break;  // the first matching section has ended
      if (nameMatches(*name, section)) place.section = place.lastEntry = i;
      continue;
    }
    if (place.section < 0) continue;
    if (const std::optional<Entry> entry = entryOf(line)) {
      place.lastEntry = i;
      if (nameMatches(entry->key, key, keyCase)) {
        place.entry = i;
        break;
      }
    }
  }
  return place;
}

std::optional<QByteArrayView> ProfileText::sectionNameOf(const Line& line) const {
  QByteArrayView text = withoutLeadingBlanks(line.text);
  if (!text.startsWith('[')) return std::nullopt;
  text = text.sliced(1);
  const qsizetype close = indexOfCharacter(text, ']');
  if (close >= 0) text = text.first(close);
  return withoutBlanks(text);
}

std::optional<ProfileText::Entry> ProfileText::entryOf(const Line& line) {
  const QByteArrayView text = withoutLeadingBlanks(line.text);
  if (text.startsWith('[') || text.startsWith(';')) return std::nullopt;
  const qsizetype equals = text.indexOf('=');
  if (equals < 0) return std::nullopt;
  return Entry{withoutBlanks(text.first(equals)), withoutBlanks(text.sliced(equals + 1))};
}

bool ProfileText::nameMatches(QByteArrayView bytes, QStringView name, Qt::CaseSensitivity cs) const {
  const std::optional<QString> decoded = decodeStrict(bytes);
  return decoded && QStringView(*decoded).compare(name, cs) == 0;
}

// The index of `wanted` as a character of its own, not as the second byte of a
// double-byte character.
qsizetype ProfileText::indexOfCharacter(QByteArrayView bytes, char wanted) const {
  if (utf8_) return bytes.indexOf(wanted);
  for (qsizetype i = 0; i < bytes.size(); i += characterLength(bytes, i))
    if (bytes[i] == wanted) return i;
  return -1;
}

QByteArrayView ProfileText::cutToBytes(QByteArrayView bytes, qsizetype maxBytes) const {
  if (bytes.size() <= maxBytes) return bytes;
  qsizetype end = 0;
  if (utf8_) {
    end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) --end;
  } else {
    for (qsizetype next = 0; next <= maxBytes; next += characterLength(bytes, next)) end = next;
  }
  return bytes.first(end);
}

std::optional<QString> ProfileText::decodeStrict(QByteArrayView bytes) const {
  if (!utf8_) return ShiftJis::decode(bytes);
  QStringDecoder decoder(QStringConverter::Utf8,
                         QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

// Bytes that are no valid text read as U+FFFD, one per byte in code page 932.
QString ProfileText::decodeLenient(QByteArrayView bytes) const {
  if (std::optional<QString> text = decodeStrict(bytes)) return *text;
  if (utf8_) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
  }
  QString text;
  for (qsizetype i = 0; i < bytes.size();) {
    const qsizetype length = characterLength(bytes, i);
    const std::optional<QString> character = ShiftJis::decode(bytes.sliced(i, length));
    text += character ? *character : QString(QChar::ReplacementCharacter);
    i += character ? length : 1;
  }
  return text;
}

QByteArray ProfileText::encode(QStringView text) const {
  if (utf8_) return text.toUtf8();
  return ShiftJis::encode(text).value_or(QByteArray());
}

bool ProfileText::fitsCodePage(QStringView text) { return ShiftJis::encode(text).has_value(); }

// Lines that are no valid code page 932 text keep their bytes.
void ProfileText::convertToUtf8() {
  for (Line& line : lines_)
    if (const std::optional<QString> text = ShiftJis::decode(line.text)) line.text = text->toUtf8();
  utf8_ = true;
}

QByteArray ProfileText::lineEnding() const {
  bool lf = false;
  bool cr = false;
  for (const Line& line : lines_) {
    if (line.end == kCrLf) return kCrLf.toByteArray();
    lf = lf || line.end == kLf;
    cr = cr || line.end == kCr;
  }
  if (lf) return kLf.toByteArray();
  if (cr) return kCr.toByteArray();
  return kCrLf.toByteArray();
}

void ProfileText::insertLine(qsizetype at, const QByteArray& text, const QByteArray& ending) {
  if (at > 0 && lines_[at - 1].end.isEmpty()) lines_[at - 1].end = ending;
  lines_.insert(lines_.begin() + at, Line{text, ending});
}

void ProfileText::appendSection(QStringView section, const QByteArray& entryLine, const QByteArray& ending) {
  if (!lines_.empty()) {
    Line& last = lines_.back();
    if (last.end.isEmpty()) last.end = ending;
    // An empty line ending in LF right after a lone CR would read as one CR LF.
    const QByteArray blankEnding = (last.end == kCr && ending == kLf) ? last.end : ending;
    if (!isBlankLine(last.text)) lines_.push_back(Line{QByteArray(), blankEnding});
  }
  insertLine(qsizetype(lines_.size()), '[' + encode(section) + ']', ending);
  insertLine(qsizetype(lines_.size()), entryLine, ending);
}
