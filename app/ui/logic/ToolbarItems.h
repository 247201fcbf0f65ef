// The main window's toolbar items: identifiers (spelt as stored, "Indentifier" included), label and
// tool tip keys, images, and the default and allowed orders; and the two state tables of the
// export and recognise bars with the preference masks that choose their rows.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace ToolbarItems {

inline constexpr const char* kToolbarIdentifier = "Pelmora Toolbar Identifier";
inline constexpr const char* kExport = "Pelmora Toolbar Export Identifier";
inline constexpr const char* kSearch = "Pelmora Toolbar Search Identifier";
inline constexpr const char* kRecognize = "Pelmora Toolbar Recognize Identifier";
inline constexpr const char* kImageOperation = "Pelmora Toolbar Image Operation Identifier";
inline constexpr const char* kRotate = "Pelmora Toolbar Rotate Identifier";
inline constexpr const char* kImageEdit = "Pelmora Toolbar Image Edit Identifier";
inline constexpr const char* kSide = "Pelmora Toolbar Side Identifier";
inline constexpr const char* kConnect = "Pelmora Toolbar Connect Indentifier";
inline constexpr const char* kMail = "Pelmora Toolbar Mail Identifier";
inline constexpr const char* kExplorer = "Pelmora Toolbar Explorer Identifier";
inline constexpr const char* kZoomOut = "Pelmora Toolbar Zoom Out Identifier";
inline constexpr const char* kZoomIn = "Pelmora Toolbar Zoom In Identifier";
inline constexpr const char* kIphoto = "Pelmora Toolbar iphoto Indentifier";
inline constexpr const char* kApplication = "Pelmora Toolbar Application Identifier";
// Retired items, only ever removed from a stored toolbar.
inline constexpr const char* kSwap = "Pelmora Toolbar Swap Identifier";
inline constexpr const char* kSynchronization = "Pelmora Toolbar Synchronization Identifier";
inline constexpr const char* kCloudConnect = "Pelmora  Main Window Toolbar cloud Connect Indentifier";
// The standard items of a toolbar.
inline constexpr const char* kSpace = "NSToolbarSpaceItem";
inline constexpr const char* kFlexibleSpace = "NSToolbarFlexibleSpaceItem";
inline constexpr const char* kSeparator = "NSToolbarSeparatorItem";

struct Item {
    const char* identifier;
    const char* labelKey;
    const char* toolTipKey;    // null: set later by its bar
    const char* image;         // null: the item shows a view of the window
    const char* viewOutlet;    // the outlet name of that view; null for image items
    bool properKeys;           // label and tool tip keys take the newer wording first
    const char* faceImage; // stands for the item where it shows no image of its own (its
                           // view's button, the customisation window)
};
// Every item, in the order the templates are made.
const std::vector<Item>& items();
const Item* item(const QString& identifier);

QStringList defaultItemIdentifiers();
QStringList allowedItemIdentifiers();
// The spaces and the separator, which a toolbar may hold more than once.
bool isRepeatable(const QString& identifier);
// The allowed items that can still be added to a toolbar holding `current`, in the allowed order.
QStringList availableItemIdentifiers(const QStringList& current);

// The recognise bar's languages, state 0 to 11.
struct Language {
    int state;
    int bit;                   // in the preference "recognize language"
    const char* toolTipKey;
    const char* image;
    const char* languageTextKey;
};
const Language& language(int state);
inline constexpr int kAutomaticLanguage = 11;
// The languages as the recognise bar's pop-up offers them: Automatic, the Latin and Cyrillic ones,
// then the East Asian ones.
inline constexpr std::array<int, 12> kRecognizeMenuOrder = {11, 1, 6, 5, 7, 8, 9, 10, 0, 3, 2, 4};
// The state the preference "recognize language" chooses; nullopt when absent or no bit is set.
std::optional<int> recognizeStateFromMask(std::optional<qint64> mask);
// The state for the string table's "IDS_RESOURCE_LANG_ID" (a classic language code); nullopt
// when the text is missing or names another language (automatic, with the default text).
std::optional<int> recognizeStateFromLanguageID(const QString& languageID);
inline constexpr const char* kDefaultLanguageTextKey = "IDS_RECOGNIZE_LANGUAGE_DEFAULT";

// The export bar's formats, state 1 to 4 (the default row is state 1 with its own status text).
struct ExportFormat {
    int state;
    int bit;                   // in the preference "export mode"; 0 for the default row
    const char* toolTipKey;
    const char* image;
    const char* statusTextKey;
};
// Row `state` (1 to 4); any other state gives the default row.
const ExportFormat& exportFormat(int state);
// The row the preference "export mode" chooses; the default row when absent or no bit is set.
const ExportFormat& exportFormatFromMask(std::optional<qint64> mask);

} // namespace ToolbarItems
