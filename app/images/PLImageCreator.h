// The placeholder front image of a card whose front file is missing: a one-page PDF made from the
// blank card template with the card's texts set in fixed places, written by this system.
#pragma once

#include "app/images/CardRecord.h"
#include "platform/pdf/PdfDocument.h"

#include <QPainter>
#include <QString>

#include <functional>

inline const QString kDummyImageCreatedNotification = QStringLiteral("Dummy Image PDF Did Created Nofitication");
inline const QString kCardTemplateResource = QStringLiteral("Original.pdf");

class PLImageCreator {
public:
    // 0 written; -1 the database folder is missing or unreadable, or the template cannot be opened;
    // -20 the PDF cannot be written or is not recognised as this system's own; 4 a text failed.
    static int writeCardImage(const QString& databaseFolder, const CardDict& card);

    // The sender of the notification.
    static const void* notificationObject();
    // The first preferred language ("ja" brings the postal mark); the system's by default.
    static void setPreferredLanguage(std::function<QString()> language);
};

// Writes the placeholder for `card` over the template's first page. 0, -20 or 4.
int MyCreatePDFFile(PdfDocument& cardTemplate, const QString& target, const CardDict& card);
// Sets `text` from baseline (x, y) (points from the bottom-left) on at most `maxLines` lines of
// `lineWidth` points, shortening each line until it fits. 0, or 4 when it cannot be laid out.
int DrawUniChar2PDFPage(const QString& text, QPainter& painter, double pageHeight, double fontSize, double x,
                        double y, int maxLines, double lineWidth);
// At most `maxUnits` UTF-16 units of `text`, never half of a surrogate pair.
QString getUniChar(const QString& text, int maxUnits);
// Every line feed, carriage return and line separator becomes a space.
void replaceLineSeparatorCharacter(QString& text);
// `text` from its first character outside `set` (null: the white-space class).
QString stringByTrimmingCharactersFromStart(const QString& text, const QString& set = QString());
