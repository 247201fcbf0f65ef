#include "app/ui/logic/ToolbarItems.h"

#include <array>

namespace ToolbarItems {

const std::vector<Item>& items()
{
    static const std::vector<Item> table = {
        {kExport, "IDS_EXPORT_BAR", nullptr, nullptr, "_exportBarView", false, "VCard.tiff"},
        {kSearch, "IDS_SEARCH_BAR", "IDS_SEARCH_BAR_TOOLTIP", nullptr, "_searchView", false, "search"},
        {kRecognize, "IDS_RECOGNIZE_ITEM", nullptr, nullptr, "_recognizeBarView", false, "OCR_AUTO.png"},
        {kImageOperation, "IDS_IMAGEOPERATION_BAR", "IDS_IMAGEOPERATION_BAR_TOOLTIP_SELECT", nullptr, "_imageOperationBarView", false,
         "TB_select"},
        {kRotate, "IDS_RATATE_BAR", "IDS_RATATE_BAR_TOOLTIP", "TB_rotate.tiff", nullptr, false, "TB_rotate.tiff"},
        {kImageEdit, "IDS_IMAGEEDIT_BAR", "IDS_IMAGEEDIT_BAR_TOOLTIP", nullptr, "_imageEditBarView", false, "image_sosa.png"},
        {kSide, "IDS_SITE_BAR", "IDS_SITE_BAR_TOOLTIP", nullptr, "_dataEditBarView", false, "TB_detail"},
        {kConnect, "IDS_CONNECT_BAR", "IDS_CONNECT_BAR_TOOLTIP", nullptr, "_syncPopupView", true, "address_renkei.png"},
        {kMail, "IDS_MAIL_BAR", "IDS_MAIL_BAR_TOOLTIP", "mail.tiff", nullptr, false, "mail.tiff"},
        {kExplorer, "IDS_EXPLORER_BAR", "IDS_EXPLORER_BAR_TOOLTIP", "URL.tiff", nullptr, false, "URL.tiff"},
        {kZoomOut, "IDS_ZOOM_OUT_BAR", "IDS_ZOOM_OUT_BAR_TOOLTIP", "ZoomOut.tiff", nullptr, false, "ZoomOut.tiff"},
        {kZoomIn, "IDS_ZOOM_IN_BAR", "IDS_ZOOM_IN_BAR_TOOLTIP", "ZoomIn.tiff", nullptr, false, "ZoomIn.tiff"},
        {kIphoto, "IDS_PHOTOS_BAR", "IDS_PHOTOS_BAR_TOOLTIP", nullptr, "_viewIphoto", false, "toolbar_photo.png"},
        {kApplication, "IDS_APPLICATION_BAR", "IDS_APPLICATION_BAR_TOOLTIP", nullptr, "_viewApp", false, "application_Toolbar.png"},
    };
    return table;
}

const Item* item(const QString& identifier)
{
    for (const Item& entry : items()) {
        if (identifier == QLatin1String(entry.identifier))
            return &entry;
    }
    return nullptr;
}

QStringList defaultItemIdentifiers()
{
    QStringList list;
    for (const char* id : {kZoomOut, kZoomIn, kImageOperation, kRotate, kImageEdit, kRecognize, kMail, kExplorer, kExport, kIphoto,
                           kConnect, kFlexibleSpace, kSide, kSearch})
        list.append(QString::fromLatin1(id));
    return list;
}

QStringList allowedItemIdentifiers()
{
    QStringList list;
    for (const char* id : {kZoomOut, kZoomIn, kExport, kApplication, kConnect, kRecognize, kImageOperation, kRotate, kImageEdit, kSide,
                           kMail, kExplorer, kIphoto, kSearch, kSpace, kFlexibleSpace, kSeparator})
        list.append(QString::fromLatin1(id));
    return list;
}

bool isRepeatable(const QString& identifier)
{
    return identifier == QLatin1String(kSpace) || identifier == QLatin1String(kFlexibleSpace) || identifier == QLatin1String(kSeparator);
}

QStringList availableItemIdentifiers(const QStringList& current)
{
    QStringList list;
    for (const QString& identifier : allowedItemIdentifiers()) {
        if (isRepeatable(identifier) || !current.contains(identifier))
            list.append(identifier);
    }
    return list;
}

namespace {

const std::array<Language, 12> kLanguages = {{
    {0, 0x1, "IDS_RECOGNIZE_ITEM_TOOLTIP_JP", "OCR_JP.png", "IDS_RECOGNIZE_LANGUAGE_JAPANESE"},
    {1, 0x2, "IDS_RECOGNIZE_ITEM_TOOLTIP_EN", "OCR_EN.png", "IDS_RECOGNIZE_LANGUAGE_ENGLISH"},
    {2, 0x4, "IDS_RECOGNIZE_ITEM_TOOLTIP_CT", "OCR_CT.png", "IDS_RECOGNIZE_LANGUAGE_CHINESE_TRADITIONAL"},
    {3, 0x8, "IDS_RECOGNIZE_ITEM_TOOLTIP_CS", "OCR_CS.png", "IDS_RECOGNIZE_LANGUAGE_CHINESE_SIMPLIFIED"},
    {4, 0x10, "IDS_RECOGNIZE_ITEM_TOOLTIP_KR", "OCR_KR.png", "IDS_RECOGNIZE_LANGUAGE_KOREAN"},
    {5, 0x20, "IDS_RECOGNIZE_ITEM_TOOLTIP_DE", "OCR_DE.png", "IDS_RECOGNIZE_LANGUAGE_GERMAN"},
    {6, 0x40, "IDS_RECOGNIZE_ITEM_TOOLTIP_FR", "OCR_FR.png", "IDS_RECOGNIZE_LANGUAGE_FRENCH"},
    {7, 0x80, "IDS_RECOGNIZE_ITEM_TOOLTIP_IT", "OCR_IT.png", "IDS_RECOGNIZE_LANGUAGE_ITALIAN"},
    {8, 0x100, "IDS_RECOGNIZE_ITEM_TOOLTIP_ES", "OCR_ES.png", "IDS_RECOGNIZE_LANGUAGE_SPANISH"},
    {9, 0x200, "IDS_RECOGNIZE_ITEM_TOOLTIP_RU", "OCR_RU.png", "IDS_RECOGNIZE_LANGUAGE_RUSSIAN"},
    {10, 0x400, "IDS_RECOGNIZE_ITEM_TOOLTIP_PT", "OCR_PT.png", "IDS_RECOGNIZE_LANGUAGE_PORTUGUESE"},
    {11, 0x800, "IDS_RECOGNIZE_ITEM_TOOLTIP_AUTO", "OCR_AUTO.png", "IDS_RECOGNIZE_LANGUAGE_AUTO"},
}};

const std::array<ExportFormat, 5> kFormats = {{
    {1, 0x2, "IDS_EXPORT_BAR_TOOLTIP_VCARD", "VCard.tiff", "IDS_FILE_EXPORT_TYPE_VCARD"},
    {2, 0x4, "IDS_EXPORT_BAR_TOOLTIP_CSV", "CSV.tiff", "IDS_FILE_EXPORT_TYPE_CSV"},
    {3, 0x8, "IDS_EXPORT_BAR_TOOLTIP_TEXT", "TXT.tiff", "IDS_FILE_EXPORT_TYPE_TEXT"},
    {4, 0x10, "IDS_EXPORT_BAR_TOOLTIP_XML", "xml.png", "IDS_FILE_EXPORT_TYPE_XML"},
    {1, 0, "IDS_EXPORT_BAR_TOOLTIP_VCARD", "VCard.tiff", "IDS_FILE_EXPORT_TYPE_DEFAULT"},
}};

} // namespace

const Language& language(int state)
{
    return kLanguages[size_t(state >= 0 && state <= kAutomaticLanguage ? state : kAutomaticLanguage)];
}

std::optional<int> recognizeStateFromMask(std::optional<qint64> mask)
{
    if (!mask)
        return std::nullopt;
    // The order in which the bits are tested decides between several set bits.
    for (int bit : {0x800, 0x1, 0x2, 0x8, 0x4, 0x10, 0x20, 0x100, 0x40, 0x80, 0x400, 0x200}) {
        if (*mask & bit) {
            for (const Language& row : kLanguages) {
                if (row.bit == bit)
                    return row.state;
            }
        }
    }
    return std::nullopt;
}

std::optional<int> recognizeStateFromLanguageID(const QString& languageID)
{
    bool ok = false;
    const int code = languageID.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    switch (code) {
    case 0: return 1;
    case 1: return 6;
    case 2: return 5;
    case 3: return 7;
    case 6: return 8;
    case 8: return 10;
    case 11: return 0;
    case 19: return 2;
    case 23: return 4;
    case 32: return 9;
    case 33: return 3;
    default: return std::nullopt;
    }
}

const ExportFormat& exportFormat(int state)
{
    return state >= 1 && state <= 4 ? kFormats[size_t(state - 1)] : kFormats[4];
}

const ExportFormat& exportFormatFromMask(std::optional<qint64> mask)
{
    if (mask) {
        for (size_t i = 0; i < 4; ++i) {
            if (*mask & kFormats[i].bit)
                return kFormats[i];
        }
    }
    return kFormats[4];
}

} // namespace ToolbarItems
