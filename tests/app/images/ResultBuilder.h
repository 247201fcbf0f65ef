// Builds 'PLDA' result records for the tests: one text and box per slot.
#pragma once

#include "platform/events/OcrProtocol.h"

#include <QByteArray>
#include <QString>

inline void setSlot(QByteArray& result, int slot, const QString& text, int left = 0, int top = 0, int right = 0,
                    int bottom = 0)
{
    if (result.size() < int(ocr::kResultSize))
        result = QByteArray(int(ocr::kResultSize), '\0');
    auto* field = reinterpret_cast<uint8_t*>(result.data()) + size_t(slot) * ocr::kFieldSize;
    ocr::writeU16(field + ocr::kFieldLeftOffset, uint16_t(left));
    ocr::writeU16(field + ocr::kFieldTopOffset, uint16_t(top));
    ocr::writeU16(field + ocr::kFieldRightOffset, uint16_t(right));
    ocr::writeU16(field + ocr::kFieldBottomOffset, uint16_t(bottom));
    for (size_t i = 0; i < ocr::kFieldTextUnits; ++i)
        ocr::writeU16(field + ocr::kFieldTextOffset + 2 * i,
                      i < size_t(text.size()) && i + 1 < ocr::kFieldTextUnits ? text.at(qsizetype(i)).unicode() : 0);
}

inline QByteArray emptyResult() { return QByteArray(int(ocr::kResultSize), '\0'); }
