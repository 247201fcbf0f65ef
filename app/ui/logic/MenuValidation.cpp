#include "app/ui/logic/MenuValidation.h"

#include "app/ui/logic/ToolbarItems.h"

namespace MenuValidation {

namespace {

using namespace ToolbarValidation;

bool writable(const State& s)
{
    return !s.window.readOnly;
}

bool selected(const State& s)
{
    return s.window.selectionCount > 0;
}

bool bit(const State& s, int toolBit)
{
    return s.window.toolBits & toolBit;
}

struct Row {
    const char* action;
    bool (*enabled)(const State&);
    bool (*checked)(const State&, int tag); // null: the item has no check mark
};

// One row per action, as the items are validated when their menu opens.
const Row kRows[] = {
    {"recognize", [](const State& s) { return writable(s) && bit(s, kRecognizable); }, nullptr},
    {"recognizeInJapanese", [](const State& s) { return bit(s, kRecognizable); }, [](const State& s, int) { return s.recognizeLanguage == 0; }},
    {"recognizeInEnglish", [](const State& s) { return bit(s, kRecognizable); }, [](const State& s, int) { return s.recognizeLanguage == 1; }},
    {"onExport", selected, nullptr},
    {"exportVCard", selected, [](const State& s, int) { return s.exportFormat == 1; }},
    {"exportText", selected, [](const State& s, int) { return s.exportFormat == 3; }},
    {"exportCSV", selected, [](const State& s, int) { return s.exportFormat == 2; }},
    {"exportiPhoto", [](const State& s) { return writable(s) && selected(s); }, nullptr},
    {"exportPhotos", [](const State& s) { return writable(s) && selected(s); }, nullptr},
    {"print", selected, nullptr},
    {"onSideBar", [](const State&) { return true; }, [](const State& s, int) { return s.detailShown; }},
    {"onZoomIn", [](const State& s) { return writable(s) && bit(s, kImageShown) && !bit(s, kZoomedInFully); }, nullptr},
    {"onZoomOut", [](const State& s) { return writable(s) && bit(s, kImageShown) && !bit(s, kZoomedOutFully); }, nullptr},
    {"onSwapBar", [](const State& s) { return writable(s) && bit(s, kBackSide); }, nullptr},
    {"onRemoveBar", [](const State& s) { return writable(s) && bit(s, kBackSide); }, nullptr},
    {"onRotateBar", [](const State& s) { return writable(s) && bit(s, kRotatable); }, nullptr},
    {"onMergeBar", [](const State& s) { return writable(s) && bit(s, kBackAddable) && !s.window.rootFolderSelected; }, nullptr},
    {"connectAddOnly", [](const State& s) { return writable(s) && selected(s); }, nullptr},
    {"connectAddressBook", [](const State& s) { return writable(s) && s.window.hasContext; }, nullptr},
    {"onExplorer", [](const State& s) { return validateToolbarItem(QString::fromLatin1(ToolbarItems::kExplorer), s.window); }, nullptr},
    {"onMail", [](const State& s) { return validateToolbarItem(QString::fromLatin1(ToolbarItems::kMail), s.window); }, nullptr},
    {"onCloudConnect", [](const State& s) { return writable(s) && selected(s); }, nullptr},
    {"onExtAppListMenuItem", [](const State& s) { return writable(s) && selected(s); }, nullptr},
    {"exportPhotosMenu", [](const State& s) { return s.window.photosInstalled != 0; }, nullptr},
    {"exportPhotosMainMenu", [](const State& s) { return s.window.photosInstalled != 0; }, nullptr},
    // The image-operation bar's segments as items, the segment as their tag.
    {"onImageOperationBar", [](const State&) { return true; }, [](const State& s, int tag) { return s.imageOperation == tag; }},
};

const Row* row(const QString& action)
{
    for (const Row& r : kRows) {
        if (action == QLatin1String(r.action))
            return &r;
    }
    return nullptr;
}

} // namespace

Validation validateMenuItem(const QString& action, const State& state, int tag)
{
    const Row* r = row(action);
    Validation validation;
    validation.checked = r && r->checked && r->checked(state, tag);
    validation.enabled = !state.sheetAttached && (!r || r->enabled(state));
    return validation;
}

bool isCheckable(const QString& action)
{
    const Row* r = row(action);
    return r && r->checked;
}

} // namespace MenuValidation
