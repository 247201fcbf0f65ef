#include "outside/ocr/AccentedNames.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/JobTitleWords.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <map>

namespace {

// The words of each language by their bare letters; a bare form spelled two ways holds both.
using NamesByBareForm = QHash<QString, QStringList>;

std::map<int, NamesByBareForm> loadNames(const QString& resource)
{
    static const QHash<QString, int> headings = {{QStringLiteral("[fr]"), kLanguageFrench},
                                                 {QStringLiteral("[es]"), kLanguageSpanish},
                                                 {QStringLiteral("[pt]"), kLanguagePortuguese},
                                                 {QStringLiteral("[it]"), kLanguageItalian},
                                                 {QStringLiteral("[de]"), kLanguageGerman}};
    std::map<int, NamesByBareForm> names;
    QFile file(resource);
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
            if (!spellings.contains(name, Qt::CaseInsensitive))
                spellings << name;
        }
    }
    return names;
}

} // namespace

// The text with each word whose bare letters match one word of the language's list alone spelled as
// that word, in capitals where the read word is; a word read in small letters takes the spelling in
// small letters where `smallWords`, else stays.
QString withAccentsOfListedWords(const QString& name, int language, const std::map<int, NamesByBareForm>& names, bool smallWords)
{
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
        if (spellings.size() != 1 || read.size() < 2 || (!smallWords && !read.front().isUpper()))
            continue;
        const QString& spelling = spellings.front();
        out += name.mid(done, m.capturedStart() - done)
            + (read == read.toUpper()    ? spelling.toUpper()
                   : read.front().isLower() ? spelling.front().toLower() + spelling.mid(1)
                                            : spelling);
        done = m.capturedEnd();
    }
    out += name.mid(done);
    return out;
}

QString withAccentsOfKnownNames(const QString& name, int language)
{
    // A word in small letters is a particle or a scrap, not a name.
    static const std::map<int, NamesByBareForm> names = loadNames(QStringLiteral(":/ocr/AccentedNames.txt"));
    return withAccentsOfListedWords(name, language, names, false);
}

QString withAccentsOfKnownPlaces(const QString& address, int language)
{
    static const std::map<int, NamesByBareForm> places = loadNames(QStringLiteral(":/ocr/AccentedPlaces.txt"));
    return withAccentsOfListedWords(address, language, places, true);
}
