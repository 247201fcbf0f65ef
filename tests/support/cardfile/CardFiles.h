// Card files as the host writes them for an upload: ContactXML 1.1 in UTF-16 with a byte order mark.
#pragma once

#include <QString>
#include <QStringList>

struct CardFixture {
    QString id;
    QString fullName;
    QString lastName;
    QString firstName;
    QString company;
    QString email;
    QString memo;
    QString imageUrl;  // empty: no ImageItem
};

// One ContactXMLItem in the host's element order, every element present.
QString cardItem(const CardFixture& card);
// The document around the items.
QString cardDocument(const QStringList& items);
// Writes `text` as UTF-16 little-endian with a byte order mark; false when it cannot.
bool writeUtf16(const QString& path, const QString& text);
