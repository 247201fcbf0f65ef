#include "app/export/PhotoAfterImport.h"

#include "app/core/PLMessage.h"
#include "app/export/PLExporter.h"
#include "app/export/PhotoApplications.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"

namespace {

const QString kAutoRegisterKey = QStringLiteral("Auto iphone register items");
const QString kPhotosStateKey = QStringLiteral("conncet to Photos state");
// "conncet to Photos state" names the second photo application 1 and the first 2.
constexpr int kStateType2 = 1;
constexpr int kStateType1 = 2;

} // namespace

PhotoHandOffResult handOffImportedCards(const QList<CardDict>& cards, WindowHandle window)
{
    PreferenceDomain& preferences = PreferenceDomain::standard();
    if (cards.isEmpty() || !preferences.value(kAutoRegisterKey).toBool() || !preferences.contains(kPhotosStateKey))
        return {};
    const int state = static_cast<int>(preferences.value(kPhotosStateKey).toInteger());
    if (state != kStateType1 && state != kStateType2)
        return {};
    const int appType = state == kStateType1 ? PLExporter::kPhotoAppType1 : PLExporter::kPhotoAppType2;
    const bool first = appType == PLExporter::kPhotoAppType1;
    if (!isPhotoApplicationInstalled(appType)) {
        PLNSLog(first ? QStringLiteral("iPhoto not exist!") : QStringLiteral("Photos not exist!"));
        PLMessage::ShowPLErrorMessageBySheet(window, first ? 47 : 244);
        return {};
    }
    const int status = first ? PLExporter::ExportToiPhoto(cards) : PLExporter::ExportToPhotos(cards);
    if (status == 0)
        return {0, appType};
    if (status != -50) {
        PLNSLog(first ? QStringLiteral("ExportToiPhoto failed:%d\n") : QStringLiteral("ExportToPhotos failed:%d\n"), status);
        PLMessage::ShowPLErrorMessageBySheet(window, status);
    }
    return {status, 0};
}

QString sentFlagAfterHandOff(const QString& flag2, int appType)
{
    const QString other = appType == PLExporter::kPhotoAppType1 ? QStringLiteral("2") : QStringLiteral("1");
    if (flag2.isEmpty() || flag2 == QLatin1String("0"))
        return QString::number(appType);
    return flag2 == other ? QStringLiteral("3") : flag2;
}
