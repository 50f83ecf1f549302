#pragma once

#include <QDate>
#include <QString>

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "platform/NativePath.h"
#include "settings/SettingsFile.h"

// What the defaults are computed from.
struct SettingsEnvironment {
  int screenWidth = 1024;
  int screenHeight = 768;
  QString programFolder;  // ends in a path delimiter
};

// The days a settings file and the command line take: those the windows' date
// fields can show, from 1752-09-14 (where a date field starts) to 9999-12-31.
namespace SettingsDays {
inline QDate first() { return {1752, 9, 14}; }
inline QDate last() { return {9999, 12, 31}; }
inline bool holds(const QDate& day) { return day.isValid() && day >= first() && day <= last(); }
// "YYYY/MM/DD", as a settings file keeps a day.
inline QString format() { return QStringLiteral("yyyy/MM/dd"); }
// The day a value names, or a null date when it names none of those days.
inline QDate parse(const QString& text, const QString& pattern = format()) {
  const QDate day = QDate::fromString(text, pattern);
  return holds(day) ? day : QDate();
}
}  // namespace SettingsDays

// Turns a system colour into plain RGB for writing.
using ColorResolver = std::uint32_t (*)(SettingsColor);

// One key of a section: its name, the field of `Options` it holds, how the
// value is encoded, its default and the limits a read value is held to.
template <class Options>
class OptionField {
 public:
  // The default of a key: a value, or one computed from the environment (and
  // from the values of the section's keys read before it).
  template <class T>
  class Default {
   public:
    // The value the key's member holds in a newly made `Options`.
    Default() = default;
    Default(T value) : make_([value](const SettingsEnvironment&, const Options&) { return value; }) {}
    template <std::invocable<const SettingsEnvironment&> F>
    Default(F make) : make_([make](const SettingsEnvironment& env, const Options&) { return T(make(env)); }) {}
    template <std::invocable<const SettingsEnvironment&, const Options&> F>
    Default(F make) : make_(std::move(make)) {}

    T operator()(const SettingsEnvironment& env, const Options& read) const { return make_(env, read); }
    explicit operator bool() const { return static_cast<bool>(make_); }

   private:
    std::function<T(const SettingsEnvironment&, const Options&)> make_;
  };

  // Where a key's value is held: a member of `Options`, or a member of one of
  // its members (the main options hold the view settings as one value).
  template <class T>
  class Place {
   public:
    Place(T Options::*member)
        : get_([member](const Options& o) -> const T& { return o.*member; }),
          set_([member](Options& o, T value) { o.*member = std::move(value); }) {}
    template <class Part>
    Place(Part Options::*part, T Part::*member)
        : get_([part, member](const Options& o) -> const T& { return (o.*part).*member; }),
          set_([part, member](Options& o, T value) { (o.*part).*member = std::move(value); }) {}

    const T& get(const Options& o) const { return get_(o); }
    void set(Options& o, T value) const { set_(o, std::move(value)); }

   private:
    std::function<const T&(const Options&)> get_;
    std::function<void(Options&, T)> set_;
  };

  static OptionField integer(QString key, Place<int> field, Default<int> fallback = {},
                             std::optional<std::pair<int, int>> limits = {}) {
    return {std::move(key), field, std::move(fallback),
            [limits](const SettingsFile& f, const QString& s, const QString& k, int d) {
              const int value = f.readInteger(s, k, d);
              return limits ? std::clamp(value, limits->first, limits->second) : value;
            },
            [](SettingsFile& f, const QString& s, const QString& k, int v, ColorResolver) {
              return f.writeInteger(s, k, v);
            }};
  }
  // An integer kept in its low 8 bits: read so (300 as 44, -1 as 255), and
  // written so, whatever the member holds.
  static OptionField byte(QString key, Place<int> field, Default<int> fallback = {}) {
    return {std::move(key), field, std::move(fallback),
            [](const SettingsFile& f, const QString& s, const QString& k, int d) -> int {
              return f.readByte(s, k, static_cast<std::uint8_t>(d));
            },
            [](SettingsFile& f, const QString& s, const QString& k, int v, ColorResolver) {
              return f.writeInteger(s, k, static_cast<std::uint8_t>(v));
            }};
  }
  static OptionField boolean(QString key, Place<bool> field, Default<bool> fallback = {}) {
    return {std::move(key), field, std::move(fallback), &SettingsFile::readBool,
            [](SettingsFile& f, const QString& s, const QString& k, bool v, ColorResolver) {
              return f.writeBool(s, k, v);
            }};
  }
  // Written as plain RGB: system colours go through the resolver.
  static OptionField color(QString key, Place<SettingsColor> field, Default<SettingsColor> fallback = {}) {
    return {std::move(key), field, std::move(fallback), &SettingsFile::readColor,
            [](SettingsFile& f, const QString& s, const QString& k, SettingsColor v, ColorResolver resolve) {
              return f.writeColor(s, k, isSystemColor(v) ? resolve(v) : static_cast<std::uint32_t>(v));
            }};
  }
  static OptionField text(QString key, Place<QString> field, Default<QString> fallback = {}) {
    return {std::move(key), field, std::move(fallback), &SettingsFile::readText,
            [](SettingsFile& f, const QString& s, const QString& k, const QString& v, ColorResolver) {
              return f.writeText(s, k, v);
            }};
  }
  // A path: held with "/" between folders, stored as the system writes paths
  // (on Windows with "\"); a stored one with either separator reads the same.
  static OptionField path(QString key, Place<QString> field, Default<QString> fallback = {}) {
    return {std::move(key), field, std::move(fallback),
            [](const SettingsFile& f, const QString& s, const QString& k, const QString& d) {
              return NativePath::fromNative(f.readText(s, k, d));
            },
            [](SettingsFile& f, const QString& s, const QString& k, const QString& v, ColorResolver) {
              return f.writeText(s, k, NativePath::toNative(v));
            }};
  }
  // One character.
  static OptionField mark(QString key, Place<QString> field, Default<QString> fallback = {}) {
    return {std::move(key), field, std::move(fallback), &SettingsFile::readMark,
            [](SettingsFile& f, const QString& s, const QString& k, const QString& v, ColorResolver) {
              return f.writeMark(s, k, v);
            }};
  }

  // A day as "YYYY/MM/DD"; an empty value, or one that names none of the
  // SettingsDays, is no day (a null date).
  static OptionField day(QString key, Place<QDate> field) {
    return {std::move(key), field, Default<QDate>(QDate()),
            [](const SettingsFile& f, const QString& s, const QString& k, const QDate& d) {
              const QString text = f.readText(s, k, {});
              return text.isEmpty() ? d : SettingsDays::parse(text);
            },
            [](SettingsFile& f, const QString& s, const QString& k, const QDate& v, ColorResolver) {
              return f.writeText(s, k, v.isValid() ? v.toString(SettingsDays::format()) : QString());
            }};
  }

  void setDefault(Options& o, const SettingsEnvironment& env) const { setDefault_(o, env); }
  void read(const SettingsFile& f, const QString& section, Options& o, const SettingsEnvironment& env) const {
    read_(f, section, o, env);
  }
  bool write(SettingsFile& f, const QString& section, const Options& o, ColorResolver resolve) const {
    return write_(f, section, o, resolve);
  }

 private:
  template <class T, class Read, class Write>
  OptionField(QString key, Place<T> field, Default<T> fallback, Read read, Write write)
      : key_(std::move(key)),
        setDefault_([field, fallback = declared(field, fallback)](Options& o, const SettingsEnvironment& env) {
          field.set(o, fallback(env, o));
        }),
        read_([this_key = key_, field, fallback = declared(field, fallback), read](
                  const SettingsFile& f, const QString& section, Options& o, const SettingsEnvironment& env) {
          field.set(o, std::invoke(read, f, section, this_key, fallback(env, o)));
        }),
        write_([this_key = key_, field, write](SettingsFile& f, const QString& section, const Options& o,
                                               ColorResolver resolve) {
          return write(f, section, this_key, field.get(o), resolve);
        }) {}

  // The default given, or else the member's value in a newly made `Options`.
  template <class T>
  static Default<T> declared(const Place<T>& field, Default<T> fallback) {
    return fallback ? fallback : Default<T>(T(field.get(Options())));
  }

  QString key_;
  std::function<void(Options&, const SettingsEnvironment&)> setDefault_;
  std::function<void(const SettingsFile&, const QString&, Options&, const SettingsEnvironment&)> read_;
  std::function<bool(SettingsFile&, const QString&, const Options&, ColorResolver)> write_;
};
