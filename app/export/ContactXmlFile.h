// The ContactXML export file written straight from the card dictionaries: the bytes that the
// cards' elements (toNSXMLElement) in a new document (newContactXMLDocument) give when serialised
// pretty-printed in UTF-16 (contactXmlBytes), made without the element tree and handed on a piece
// at a time as the cards are written.
#pragma once

#include "app/export/ExportDates.h"
#include "app/export/ExportTarget.h"
#include "app/images/CardRecord.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

class ContactXmlFile {
public:
    // The items `mask` chooses (no images: the file export has none).
    explicit ContactXmlFile(uint32_t mask);

    // The whole file in UTF-16 little-endian with its byte-order mark; false when `write` stopped it.
    bool writeFile(const QList<CardDict>& cards, const ExportPieceWriter& write);

    static constexpr qsizetype kPieceBytes = 256 * 1024;

private:
    struct Leaf {
        uint32_t bit;
        QString key;
        QString start; // indent, "<", name and the fixed attributes
        QString end; // "</name>" and the line feed
        uint32_t readingBit = 0;
        QString readingKey;
    };
    struct Container {
        QString start; // indent, "<", name and attributes
        QString end; // indent, "</name>" and the line feed
        std::vector<Leaf> leaves;
    };

    void appendCard(const CardDict& card);
    void appendLeaf(const Leaf& leaf, const CardDict& card);
    // The value's text as toNSXMLElement() takes it; it lasts until the next call.
    QStringView valueText(const CardDict& card, const QString& key);
    bool handOn(const ExportPieceWriter& write);

    uint32_t m_mask;
    QString m_head;
    QString m_today;
    // PersonName, Address, Occupation, Phone, Email, Web and Extension, each with its one item
    // element (the first three) or its leaves.
    std::vector<Container> m_containers;
    std::vector<Container> m_items;
    ExportDates m_dates;
    QString m_other;
    QString m_text;
    QByteArray m_bytes; // a piece's bytes on a big-endian machine
};
