// Each card dictionary converts itself to the two card representations of the exports: a
// vCard 3.0 text and a ContactXML 1.1 element. Nothing is written to disk here.
#pragma once

#include "app/images/CardRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <libxml/tree.h>

#include <cstdint>

// The vCard as UTF-8 bytes with CR LF line ends. `imageFilePaths` null: no images handed in.
QByteArray toVCardRepresentation(const CardDict& card, uint32_t mask, const QStringList* imageFilePaths);
// One escaped vCard value: trimmed, then backslash, comma, semicolon and line breaks escaped.
QString formattedVCardItem(const QString& value);
// The card's "ContactXMLItem", not attached to any document; the caller owns it.
xmlNodePtr toNSXMLElement(const CardDict& card, uint32_t mask, const QStringList* imageFilePaths);
