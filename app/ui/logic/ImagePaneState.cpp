#include "app/ui/logic/ImagePaneState.h"

#include "app/core/RectString.h"
#include "app/ui/logic/CardUrls.h"
#include "app/ui/logic/ImageViewGeometry.h"
#include "app/ui/logic/ToolbarValidation.h"

#include <algorithm>

namespace ImagePaneState {

using namespace ToolbarValidation;

QString rectKeyForTag(int tag)
{
    static const char* const keys[] = {"full_Name_XY", "job_Title_XY", "telephone_Number_XY", "fax_Number_XY",
                                       "zip_PostalCode_XY", "address_XY", "e_Mail_XY", nullptr,
                                       "web_Page_Address_XY", "company_XY", "department_XY", "memo_XY",
                                       "mobile_Number_XY"};
    if (tag < kFirstFieldTag || tag > kLastFieldTag || !keys[tag - kFirstFieldTag])
        return {};
    return QString::fromLatin1(keys[tag - kFirstFieldTag]);
}

QRectF getBoxFromCardInfo(const CardDict& card, int tag, bool chineseInterface)
{
    const QString key = rectKeyForTag(tag);
    const QString stored = key.isEmpty() ? QString() : card.value(key).toString();
    if (stored.isEmpty())
        return {};
    QRectF rect;
    ConvertStringToRect(stored, &rect);
    if (chineseInterface && tag == kTagName && !rect.isNull()) {
        rect.moveTop(rect.y() - 5);
        rect.setHeight(1);
    }
    return rect;
}

bool isChineseInterface(const QString& languageID)
{
    return languageID == QLatin1String("19") || languageID == QLatin1String("33");
}

bool someCardHasMail(const QList<CardDict>& cards)
{
    return std::any_of(cards.begin(), cards.end(), [](const CardDict& card) {
        return !CardUrls::mailAddresses(card.value(QStringLiteral("e_Mail")).toString()).isEmpty();
    });
}

int UptateToolBarState(const QList<CardDict>& cards, int state, const std::function<bool(const QString&)>& frontExists)
{
    if (cards.size() <= 1)
        return state;
    if (state & kRecognizable)
        return kRecognizable;
    for (const CardDict& card : cards) {
        const QVariant status = card.value(QStringLiteral("status"));
        if (status.isValid() && status.typeId() != QMetaType::QString && status.toInt() == 1)
            continue;
        const QString front = card.value(QStringLiteral("face_Image_File")).toString();
        if (!front.isEmpty() && frontExists(front))
            return kRecognizable;
    }
    return 0;
}

int maskedToolBarState(int state, bool hasUserBox)
{
    if (hasUserBox && (state & kImageShown))
        return state & ~kRecognizable;
    return state;
}

int zoomBitsAfterZoomIn(int state, int step)
{
    return step == ImageViewGeometry::kMaxZoomStep ? state | kZoomedInFully : state & ~kZoomedOutFully;
}

int zoomBitsAfterZoomOut(int state, int step)
{
    return step == ImageViewGeometry::kMinZoomStep ? state | kZoomedOutFully : state & ~kZoomedInFully;
}

int zoomBitsForStep(int state, int step)
{
    state &= ~(kZoomedInFully | kZoomedOutFully);
    if (step == ImageViewGeometry::kMaxZoomStep)
        state |= kZoomedInFully;
    else if (step == ImageViewGeometry::kMinZoomStep)
        state |= kZoomedOutFully;
    return state;
}

} // namespace ImagePaneState
