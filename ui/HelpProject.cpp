#include "ui/HelpProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString fileOf(const QString& ref) { return ref.section(u'#', 0, 0); }

// A <section> and the sections inside it; the reader stands on its start.
HelpProject::Section readSection(QXmlStreamReader& xml) {
  HelpProject::Section section{
      xml.attributes().value(u"title"_s).toString(), xml.attributes().value(u"ref"_s).toString(), {}};
  while (xml.readNextStartElement()) {
    if (xml.name() == u"section"_s) {
      section.children.append(readSection(xml));
    } else {
      xml.skipCurrentElement();
    }
  }
  return section;
}

void collectFiles(const QList<HelpProject::Section>& sections, QStringList& files) {
  for (const HelpProject::Section& section : sections) {
    files.append(fileOf(section.ref));
    collectFiles(section.children, files);
  }
}

}  // namespace

bool HelpProject::load(const QString& projectFile) {
  *this = HelpProject();
  QFile file(projectFile);
  if (!file.open(QIODevice::ReadOnly)) {
    error_ = file.errorString();
    return false;
  }
  folder_ = QFileInfo(projectFile).absolutePath();

  QList<std::pair<QString, QString>> keywordRefs;  // name, ref in the project's order
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"QtHelpProject"_s) {
    error_ = xml.hasError() ? xml.errorString() : u"no help project"_s;
    return false;
  }
  // The sections of interest lie at any depth below <filterSection>.
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"toc"_s) {
      while (xml.readNextStartElement()) {
        if (xml.name() == u"section"_s) {
          contents_.append(readSection(xml));
        } else {
          xml.skipCurrentElement();
        }
      }
    } else if (xml.name() == u"keyword"_s) {
      keywordRefs.append({xml.attributes().value(u"name"_s).toString(), xml.attributes().value(u"ref"_s).toString()});
    } else if (xml.name() == u"file"_s) {
      files_.append(xml.readElementText().trimmed());
    }
  }
  if (xml.hasError()) {
    const QString error = u"%1 (%2:%3)"_s.arg(xml.errorString()).arg(xml.lineNumber()).arg(xml.columnNumber());
    *this = HelpProject();
    error_ = error;
    return false;
  }

  for (const auto& [name, ref] : keywordRefs) {
    if (name.isEmpty()) continue;
    auto keyword = std::find_if(keywords_.begin(), keywords_.end(), [&](const Keyword& k) { return k.name == name; });
    if (keyword == keywords_.end()) keyword = keywords_.insert(keywords_.end(), Keyword{name, {}});
    keyword->links.append(Link{titleOf(ref), ref});
  }
  std::stable_sort(keywords_.begin(), keywords_.end(),
                   [](const Keyword& a, const Keyword& b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
  return true;
}

QList<HelpProject::Link> HelpProject::linksFor(const QString& keyword) const {
  for (const Keyword& entry : keywords_) {
    if (entry.name == keyword) return entry.links;
  }
  return {};
}

QString HelpProject::filePath(const QString& ref) const { return QDir(folder_).filePath(fileOf(ref)); }

QStringList HelpProject::missingFiles() const {
  QStringList named = files_;
  collectFiles(contents_, named);
  for (const Keyword& keyword : keywords_) {
    for (const Link& link : keyword.links) named.append(fileOf(link.ref));
  }
  QStringList missing;
  QSet<QString> seen;
  for (const QString& name : std::as_const(named)) {
    if (seen.contains(name)) continue;
    seen.insert(name);
    if (!QFileInfo(filePath(name)).isFile()) missing.append(name);
  }
  return missing;
}

QString HelpProject::titleOf(const QString& ref) {
  const QString name = fileOf(ref);
  auto known = titles_.constFind(name);
  if (known != titles_.constEnd()) return *known;
  static const QRegularExpression title(
      u"<title>\\s*(.*?)\\s*</title>"_s,
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  QFile page(filePath(name));
  QString text;
  if (page.open(QIODevice::ReadOnly)) text = title.match(QString::fromUtf8(page.readAll())).captured(1);
  if (text.isEmpty()) text = name;
  titles_.insert(name, text);
  return text;
}
