#include "app/ui/logic/ToolbarValidation.h"

#include "app/ui/logic/CardUrls.h"
#include "app/ui/logic/ToolbarItems.h"

namespace ToolbarValidation {

namespace {

bool notBlank(const QString& text)
{
    return !text.trimmed().isEmpty();
}

} // namespace

ImageEditItems imageEditItems(const State& state)
{
    ImageEditItems items;
    items.swapSides = state.toolBits & kBackSide;
    items.removeBack = state.toolBits & kBackSide;
    items.addBack = (state.toolBits & kBackAddable) && !state.rootFolderSelected;
    return items;
}

bool validateToolbarItem(const QString& id, const State& s)
{
    using namespace ToolbarItems;
    const bool writable = !s.readOnly;
    const bool selection = s.selectionCount > 0;
    const int bits = s.toolBits;
    if (id == QLatin1String(kExport))
        return selection;
    if (id == QLatin1String(kIphoto))
        return writable && selection && s.photosInstalled != 0;
    if (id == QLatin1String(kConnect))
        return writable && s.hasContext;
    if (id == QLatin1String(kApplication))
        return writable && selection && s.applicationMenuItems > 1;
    if (id == QLatin1String(kRecognize))
        return writable && (bits & kRecognizable);
    if (id == QLatin1String(kZoomOut))
        return writable && (bits & kImageShown) && !(bits & kZoomedOutFully);
    if (id == QLatin1String(kZoomIn))
        return writable && (bits & kImageShown) && !(bits & kZoomedInFully);
    if (id == QLatin1String(kImageOperation))
        return bits & kImageOperationApplies;
    if (id == QLatin1String(kRotate))
        return writable && (bits & kRotatable);
    if (id == QLatin1String(kImageEdit)) {
        const ImageEditItems items = imageEditItems(s);
        return writable && (items.swapSides || items.addBack || items.removeBack);
    }
    if (id == QLatin1String(kMail)) {
        if (s.selectionCount == 1)
            return !CardUrls::mailAddresses(s.singleEMail).isEmpty();
        return s.selectionCount > 1 && (bits & kSomeMail);
    }
    if (id == QLatin1String(kExplorer))
        return s.selectionCount == 1 && notBlank(s.singleWebPage);
    return true;
}

} // namespace ToolbarValidation
