// The free names of one folder for a run of vCard files: "<name>.vcf", then "<name>1.vcf",
// "<name>2.vcf", ... The folder is listed once and every name handed out is remembered, so a run
// of many cards of one name neither probes the disk nor walks the numbers again for each card.
#pragma once

#include <QDir>
#include <QHash>
#include <QSet>
#include <QString>

class VCardFileNames {
public:
    explicit VCardFileNames(const QString& folderPath);

    // The first free path for the card's full name, taken for the rest of the run.
    QString take(const QString& personFullName);

private:
    QDir m_folder;
    QSet<QString> m_taken;
    // For each name, the number below which every candidate is known to be taken.
    QHash<QString, int> m_nextNumber;
};
