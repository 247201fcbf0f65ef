#include "app/export/VCardFileNames.h"

#include "app/core/DiskUtilities.h"

#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <climits>

namespace {

const QString kExtension = QStringLiteral(".vcf");

// A file name fits in NAME_MAX bytes with room for the number and the extension.
QString fittedBaseName(const QString& name)
{
    constexpr qsizetype kRoom = NAME_MAX - 10;
    QString base = name;
    while (QFile::encodeName(base).size() > kRoom) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base;
}

}

VCardFileNames::VCardFileNames(const QString& folderPath) : m_folder(folderPath)
{
    // Every entry counts, links that lead nowhere included: a name is free only when nothing holds it.
    QDirIterator entries(folderPath, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        m_taken.insert(entries.fileName());
    }
}

QString VCardFileNames::take(const QString& personFullName)
{
    const QString base = fittedBaseName(checkFileName(personFullName, false));
    QString name = base + kExtension;
    if (m_taken.contains(name)) {
        // Names are only ever added during a run, so the numbers below the remembered one stay taken.
        int& number = m_nextNumber[base];
        number = std::max(number, 1);
        while (m_taken.contains(name = base + QString::number(number) + kExtension))
            ++number;
    }
    m_taken.insert(name);
    return m_folder.filePath(name);
}
