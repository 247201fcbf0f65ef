#include "app/images/PLImageCreator.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/StringUtilities.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPdfWriter>
#include <QTextLayout>

namespace {

const char kNotificationSender = 0;
const QString kPostalMark = QString(QChar(0x3012));
const QString kFontFamilies[] = {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                                 QStringLiteral("DejaVu Sans")};
constexpr double kLineWidth = 225;

std::function<QString()>& languageFunction()
{
    static std::function<QString()> language = [] {
        const QStringList languages = QLocale::system().uiLanguages();
        return languages.isEmpty() ? QString() : languages.first();
    };
    return language;
}


QString value(const CardDict& card, const char* key)
{
    return StrNullToEmpty(card.value(QLatin1String(key)));
}

QString prefixed(const char* prefix, const QString& text)
{
    return text.isEmpty() ? QString() : QLatin1String(prefix) + text;
}

struct CardText {
    QString text;
    int maxUnits;
    double size;
    double x;
    double y;
    int lines;
};

std::vector<CardText> cardTexts(const CardDict& card)
{
    const bool japanese = languageFunction()().startsWith(QLatin1String("ja"));
    const QString mark = japanese ? kPostalMark : QString();
    const QString zip = value(card, "zip_PostalCode");
    const QString postal = zip.isEmpty() ? QString() : mark + getUniChar(zip, 40) + QStringLiteral("  ");
    QString address = value(card, "address");
    if (address.size() >= 256)
        address = getUniChar(address, 255);
    QString postalAddress = postal + address;
    replaceLineSeparatorCharacter(postalAddress);
    postalAddress = stringByTrimmingCharactersFromStart(postalAddress);
    QString company = value(card, "company");
    replaceLineSeparatorCharacter(company);

    return {
        {value(card, "web_Page_Address"), 128, 7, 15, 6, 1},
        {prefixed("E-mail:", value(card, "e_Mail")), 135, 7, 15, 14, 1},
        {prefixed("FAX.", value(card, "fax_Number")), 44, 7, 15, 22, 1},
        {prefixed("TEL.", value(card, "telephone_Number")), 44, 7, 15, 30, 1},
        {postalAddress, mark.isEmpty() ? 296 : 297, 7, 15, 46, 2},
        {company, 128, 11, 15, 66, 2},
        {value(card, "full_Name"), 64, 16, 15, 90, 1},
        {value(card, "job_Title"), 128, 7, 15, 112, 1},
        {value(card, "department"), 128, 7, 15, 120, 1},
        {QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")), 32, 6, 215, 135, 1},
    };
}

QFont cardFont(double size)
{
    QFont font;
    QStringList families;
    for (const QString& family : kFontFamilies)
        families << family;
    font.setFamilies(families);
    font.setPointSizeF(size);
    return font;
}

// The end of the first line of text from `start`, as the line breaker suggests for the width.
int suggestedBreak(const QString& text, int start, const QFont& font, QPaintDevice* device, double width)
{
    QTextLayout layout(text.mid(start), font, device);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    int length = 0;
    if (line.isValid()) {
        line.setLineWidth(width);
        length = line.textLength();
    }
    layout.endLayout();
    return start + std::max(length, 1);
}

// Drops the last character of a line, a surrogate pair whole.
int shorter(const QString& text, int start, int end)
{
    int cut = end - 1;
    if (cut > start && text.at(cut).isLowSurrogate() && text.at(cut - 1).isHighSurrogate())
        --cut;
    return cut;
}

} // namespace

const void* PLImageCreator::notificationObject()
{
    return &kNotificationSender;
}

void PLImageCreator::setPreferredLanguage(std::function<QString()> language)
{
    if (language)
        languageFunction() = std::move(language);
}

int PLImageCreator::writeCardImage(const QString& databaseFolder, const CardDict& card)
{
    const int attributes = checkDBAttributes(databaseFolder);
    if (attributes == 1 || attributes == -50)
        return -1;
    const QString templatePath = Bundle::main().pathForResource(kCardTemplateResource);
    std::unique_ptr<PdfDocument> cardTemplate = templatePath.isEmpty() ? nullptr : PdfDocument::open(templatePath);
    if (!cardTemplate || cardTemplate->pageCount() < 1)
        return -1;
    QString name = value(card, "face_Image_File");
    if (name.isEmpty())
        name = value(card, "cardID") + QLatin1String(kFrontSuffix);
    if (name.contains(QLatin1Char('/')) || name.startsWith(QLatin1Char('.')))
        return -20;
    const QString images = cardImagesFolder(databaseFolder);
    QDir().mkdir(images);
    const QString target = QDir(images).filePath(name);
    const int written = MyCreatePDFFile(*cardTemplate, target, card);
    if (written != 0)
        return written;
    if (CheckPDF(target) != kPdfOwnOrImageless) {
        QFile::remove(target);
        return -20;
    }
    NotificationCenter::defaultCenter().post(kDummyImageCreatedNotification, notificationObject(), card);
    return 0;
}

int MyCreatePDFFile(PdfDocument& cardTemplate, const QString& target, const CardDict& card)
{
    double width = 0, height = 0;
    try {
        if (!cardTemplate.pages().at(0).mediaBox().boxSize(width, height) || width <= 0 || height <= 0)
            return -20;
    } catch (const std::exception&) {
        return -20;
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QLatin1String(kOwnCreator));
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            return -20;
        for (const CardText& text : cardTexts(card)) {
            const int drawn = DrawUniChar2PDFPage(getUniChar(text.text, text.maxUnits), painter, height, text.size,
                                                  text.x, text.y, text.lines, kLineWidth);
            if (drawn != 0)
                return drawn;
        }
        painter.end();
    }
    std::unique_ptr<PdfDocument> page = PdfDocument::openBytes(bytes);
    if (!page)
        return -20;
    try {
        // The template lies under the texts as a form, so it stays vector art.
        if (!page->drawPageUnder(0, cardTemplate, "PLTemplate"))
            return -20;
        page->setInfoText("/Creator", QLatin1String(kOwnCreator));
        return page->writeToFile(target) ? 0 : -20;
    } catch (const std::exception&) {
        return -20;
    }
}

int DrawUniChar2PDFPage(const QString& text, QPainter& painter, double pageHeight, double fontSize, double x,
                        double y, int maxLines, double lineWidth)
{
    if (text.isEmpty() || text.at(0).unicode() == 0)
        return 0;
    if (!painter.isActive())
        return 4;
    const QFont font = cardFont(fontSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double lineHeight = fontSize + 1;
    int start = 0;
    for (int i = 0; i < maxLines && start < text.size(); ++i) {
        const bool last = i == maxLines - 1;
        int end = last ? int(text.size())
                       : std::min<int>(int(text.size()), suggestedBreak(text, start, font, painter.device(), lineWidth));
        const int full = end;
        while (end > start && int(metrics.horizontalAdvance(text.mid(start, end - start))) >= lineWidth)
            end = shorter(text, start, end);
        if (end <= start)
            end = full; // not even one character fits: the line is set as it is
        painter.drawText(QPointF(x, pageHeight - (y - i * lineHeight)), text.mid(start, end - start));
        start = end;
    }
    return 0;
}

QString getUniChar(const QString& text, int maxUnits)
{
    if (maxUnits <= 0)
        return QString();
    if (text.size() <= maxUnits)
        return text;
    int cut = maxUnits;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut);
}

void replaceLineSeparatorCharacter(QString& text)
{
    for (QChar& c : text) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0x2028)
            c = QLatin1Char(' ');
    }
}

QString stringByTrimmingCharactersFromStart(const QString& text, const QString& set)
{
    if (text.isEmpty())
        return text;
    int i = 0;
    while (i < text.size() && (set.isNull() ? isWhiteSpaceCharacter(text.at(i)) : set.contains(text.at(i))))
        ++i;
    return text.mid(i);
}
