#include "app/ui/logic/MainWindowLayout.h"

#include "platform/foundation/PreferenceDomain.h"

#include <algorithm>

namespace MainWindowLayout {

namespace {

std::optional<int> number(const PreferenceDomain& preferences, const char* key)
{
    const PlistValue value = preferences.value(QString::fromLatin1(key));
    if (!value.isNumber())
        return std::nullopt;
    const double real = value.toReal(0.0);
    if (!(real > -kLargestSize && real < kLargestSize))
        return std::nullopt;
    return int(real);
}

std::optional<int> size(const PreferenceDomain& preferences, const char* key)
{
    const std::optional<int> value = number(preferences, key);
    return value && *value >= 0 ? value : std::nullopt;
}

// A saved frame moved and cut so that the whole window lies on the screen.
QRect fitted(QRect frame, const QRect& screen)
{
    if (screen.isEmpty())
        return frame;
    frame.setWidth(std::min(frame.width(), screen.width()));
    frame.setHeight(std::min(frame.height(), screen.height()));
    frame.moveLeft(std::clamp(frame.left(), screen.left(), screen.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), screen.top(), screen.bottom() + 1 - frame.height()));
    return frame;
}

} // namespace

bool SavedLayout::complete() const
{
    return windowX && windowY && windowWidth && windowHeight && imageWidth && imageHeight && dataWidth && dataHeight && detailWidth;
}

SavedLayout readSavedLayout(const PreferenceDomain& preferences)
{
    SavedLayout saved;
    saved.windowX = number(preferences, kMainWindowXPos);
    saved.windowY = number(preferences, kMainWindowYPos);
    saved.windowWidth = size(preferences, kMainWindowWidth);
    saved.windowHeight = size(preferences, kMainWindowHeight);
    saved.imageWidth = size(preferences, kImgViewWidth);
    saved.imageHeight = size(preferences, kImgViewHeight);
    saved.dataWidth = size(preferences, kDataViewWidth);
    saved.dataHeight = size(preferences, kDataViewHeight);
    // Widths under the minimum are raised by the restore, so a negative one is kept as it is.
    saved.detailWidth = number(preferences, kDetailViewWidth);
    saved.showDetail = number(preferences, kShowDetailView);
    saved.folderWidth = number(preferences, kFolderListViewWidth);
    saved.showFolder = number(preferences, kShowFolderListView);
    return saved;
}

RestorePlan planRestore(const SavedLayout& saved, int builtDetailWidth, int builtFolderWidth, const QRect& screen)
{
    RestorePlan plan;
    int detail = builtDetailWidth;
    int folder = builtFolderWidth;
    // A zero-sized window is no frame to restore: the window is built again and centred.
    if (saved.complete() && *saved.windowWidth > 0 && *saved.windowHeight > 0) {
        plan.frame = fitted(QRect(*saved.windowX, *saved.windowY, *saved.windowWidth, *saved.windowHeight), screen);
        detail = saved.showDetail && *saved.showDetail != 1 ? 0 : std::max(*saved.detailWidth, kDetailMinWidth);
        plan.imageHeight = saved.imageHeight;
        plan.listHeight = saved.dataHeight;
        if (saved.folderWidth)
            folder = saved.showFolder == 0 ? 0 : std::max(*saved.folderWidth, kFolderMinWidth);
    } else {
        if (saved.showDetail == 0)
            detail = 0;
        if (saved.showFolder == 0)
            folder = 0;
    }
    if (detail > 1) {
        plan.detailWidth = std::max(detail, kDetailMinWidth);
        plan.detailSegment = 1;
    } else {
        plan.detailWidth = 0;
        plan.detailSegment = 0;
    }
    if (folder > 1) {
        plan.folderWidth = std::max(folder, kFolderMinWidth);
        plan.folderSegment = 1;
        plan.hiddenFolderWidth = plan.folderWidth;
    } else {
        plan.folderWidth = 0;
        plan.folderSegment = 0;
        plan.hiddenFolderWidth = std::max(saved.folderWidth.value_or(kFolderMinWidth), kFolderMinWidth);
    }
    return plan;
}

int folderWidthToSave(bool folderHidden, int folderWidth, int dataAreaWidth)
{
    if (folderHidden && folderWidth + kCardAreaMinWidth + kDividerWidth > dataAreaWidth)
        return dataAreaWidth - kCardAreaMinWidth - kDividerWidth;
    return folderWidth;
}

std::optional<int> detailWidthAfterResize(int previousDetailWidth, int windowWidth)
{
    if (previousDetailWidth == 0)
        return std::nullopt;
    return std::max(0, std::min(previousDetailWidth, windowWidth - kLeftMinWidth - kDividerWidth - 1));
}

StatusLineLayout layoutStatusLine(const StatusLineInput& in)
{
    constexpr int kGap = 30;
    constexpr int kRightMargin = 10;
    constexpr int kLeastPathRoom = 130;
    StatusLineLayout out;
    out.pathX = in.labelX + in.labelWidth;
    const int room = std::max(kLeastPathRoom, in.width - out.pathX - kGap - in.languageWidth - kGap - in.exportWidth - kRightMargin);
    out.pathToolTip = in.pathWidth > room;
    out.pathWidth = out.pathToolTip ? room : in.pathWidth;
    out.languageX = out.pathX + out.pathWidth + kGap;
    out.exportX = out.languageX + in.languageWidth + kGap;
    return out;
}

} // namespace MainWindowLayout
