#include "outside/ocr/AccentedNames.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/JobTitleWords.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <map>

namespace {

// The names of each language by their bare letters; a bare form spelled two ways holds both.
using NamesByBareForm = QHash<QString, QStringList>;

std::map<int, NamesByBareForm> loadNames()
{
    static const QHash<QString, int> headings = {{QStringLiteral("[fr]"), kLanguageFrench},
                                                 {QStringLiteral("[es]"), kLanguageSpanish},
                                                 {QStringLiteral("[pt]"), kLanguagePortuguese},
                                                 {QStringLiteral("[it]"), kLanguageItalian},
                                                 {QStringLiteral("[de]"), kLanguageGerman}};
    std::map<int, NamesByBareForm> names;
    QFile file(QStringLiteral(":/ocr/AccentedNames.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return names;
    NamesByBareForm* current = nullptr;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString line = raw.section(u'#', 0, 0).trimmed();
        if (line.startsWith(u'[')) {
            current = headings.contains(line) ? &names[headings.value(line)] : nullptr;
            continue;
        }
        for (const QString& name : line.split(u' ', Qt::SkipEmptyParts)) {
            if (!current)
                continue;
            QStringList& spellings = (*current)[foldedForWords(name)];
            if (!spellings.contains(name))
                spellings << name;
        }
    }
    return names;
}

} // namespace

QString withAccentsOfKnownNames(const QString& name, int language)
{
    static const std::map<int, NamesByBareForm> names = loadNames();
    const auto known = names.find(language);
    if (known == names.end())
        return name;
    // The words between blanks, hyphens and apostrophes ("Jean-Loic", "d'Aubigne").
    static const QRegularExpression word(QStringLiteral(R"(\p{L}+)"));
    QString out;
    qsizetype done = 0;
    for (auto it = word.globalMatch(name); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString read = m.captured();
        const QStringList spellings = known->second.value(foldedForWords(read));
        // A word in small letters is a particle or a scrap, not a name.
        if (spellings.size() != 1 || read.size() < 2 || !read.front().isUpper())
            continue;
        out += name.mid(done, m.capturedStart() - done) + (read == read.toUpper() ? spellings.front().toUpper() : spellings.front());
        done = m.capturedEnd();
    }
    out += name.mid(done);
    return out;
}
