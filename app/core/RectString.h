// The rectangle string stored with each recognised card field: x, y, width and height, each
// truncated toward zero and written as a decimal integer, joined by "/" ("10/20/-3/0").
// Numbers are read and written without the user's locale.
#pragma once

#include <QRectF>
#include <QString>

QString ConvertRectToString(const QRectF& rect);
// Fills `rect` only when `text` splits at "/" into exactly four parts; each part gives its
// leading number (blanks skipped; no number gives 0). Otherwise `rect` is left as it was.
void ConvertStringToRect(const QString& text, QRectF* rect);
