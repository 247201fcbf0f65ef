// The places of Japanese postal codes from the public-domain postal code dictionary that the
// Debian package skkdic-extra ships (made from Japan Post's code data), for putting right an
// address or a code the engine misread.
#pragma once

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

class PostalCodeDirectory {
public:
    explicit PostalCodeDirectory(const QString& path = QStringLiteral("/usr/share/skk/SKK-JISYO.zipcode"));
    PostalCodeDirectory(const PostalCodeDirectory&) = delete;
    PostalCodeDirectory& operator=(const PostalCodeDirectory&) = delete;

    // The places of a code of seven digits ("3691305" gives "埼玉県秩父郡長瀞町長瀞"), prefecture,
    // municipality and district as one text each; empty for an unknown code or without the file.
    QStringList placesOf(const QString& code);
    // The code of the longest place an address line starts with, with or without its prefecture
    // ("千葉県袖ケ浦市福王台1-1" gives "2990261"); empty when no place of a district starts it or the
    // place has several codes.
    QString codeOfPlace(const QString& line);

private:
    bool open();

    QFile m_file;
    const uchar* m_data = nullptr;
    qint64 m_size = 0;
    bool m_tried = false;
    QHash<QString, QString> m_codeOfPlace; // an empty code for a place of several
    bool m_indexed = false;
};
