#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

#include "settings/OptionField.h"

// The sections of the settings file.
namespace SettingsKeys {
inline const QString Form = QStringLiteral("Form");
inline const QString Option = QStringLiteral("Option");
inline const QString File = QStringLiteral("File");
inline const QString FileSize = QStringLiteral("FileSize");
inline const QString ChartForm = QStringLiteral("ChartForm");
inline const QString ChartOption = QStringLiteral("ChartOption");
inline const QString Calendar = QStringLiteral("Calendar");
inline const QString Progress = QStringLiteral("Progress");
inline const QString OiwaiBmpPattern = QStringLiteral("OiwaiBmpPattern");  // a key of Option, kept by the banner
}  // namespace SettingsKeys

// The keys of a section in the order they are written (a new file lists them
// so). Reads follow the same order, so a default may depend on a key above it.
template <class Options>
class OptionTable {
 public:
  OptionTable(std::initializer_list<OptionField<Options>> fields) : fields_(fields) {}

  void setDefaults(Options& o, const SettingsEnvironment& env) const {
    for (const OptionField<Options>& field : fields_) field.setDefault(o, env);
  }
  // Every key of the section; a missing or unconvertible value gives its default.
  void read(const SettingsFile& f, const QString& section, Options& o, const SettingsEnvironment& env) const {
    for (const OptionField<Options>& field : fields_) field.read(f, section, o, env);
  }
  // Stops at the first value that cannot be written and returns false.
  bool write(SettingsFile& f, const QString& section, const Options& o, ColorResolver resolve = nullptr) const {
    for (const OptionField<Options>& field : fields_)
      if (!field.write(f, section, o, resolve)) return false;
    return true;
  }

 private:
  std::vector<OptionField<Options>> fields_;
};
