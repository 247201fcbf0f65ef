// Writes PNGs of the plug-in's upload window on the first of three cards and of the result window
// after a run with each kind of outcome, drawn offscreen with the service's usual labels.
// For a person to look at: plugin_windows_snapshot OUTDIR
#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/ResultViewController.h"
#include "plugin/Controller/UploadViewController.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

std::shared_ptr<CardInfo> card(const char* id, const char* company, const char* first, const char* last, const char* email)
{
    auto result = std::make_shared<CardInfo>();
    result->PersonID = QString::fromUtf8(id);
    result->OrganizationName = QString::fromUtf8(company);
    result->FirstName = QString::fromUtf8(first);
    result->LastName = QString::fromUtf8(last);
    result->FullName = QStringLiteral("%1 %2").arg(result->FirstName, result->LastName).trimmed();
    result->Email = QString::fromUtf8(email);
    return result;
}

std::shared_ptr<DoUploadResult> outcome(const std::shared_ptr<CardInfo>& card, int type, int status, int code)
{
    auto result = std::make_shared<DoUploadResult>();
    result->Card = card;
    result->Type = type;
    result->Status = status;
    result->Code = code;
    return result;
}

bool save(QWidget* window, const QString& path)
{
    window->show();
    QApplication::processEvents();
    if (!window->grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;
    CommonFuc::setBundleResourcePath(QStringLiteral(QUENDREL_RESOURCES));

    GlobalData global;
    auto display = std::make_shared<DisplayInfo>();
    display->AccountLabelName = QStringLiteral("Account");
    display->ContactLabelName = QStringLiteral("Contact");
    display->LeadLabelName = QStringLiteral("Lead");
    display->CampaignLabelName = QStringLiteral("Campaign");
    display->LeadSourceLabelName = QStringLiteral("Lead Source");
    display->LeadStatusLabelName = QStringLiteral("Lead Status");
    display->LeadSource = {QStringLiteral("Web"), QStringLiteral("Phone Inquiry"), QStringLiteral("Trade Show")};
    display->LeadSourceDefault = 2;
    display->LeadStatus = {QStringLiteral("Open - Not Contacted"), QStringLiteral("Working - Contacted")};
    display->LeadStatusDefault = 0;
    global.setUserDisplayInfo(display);
    global.setUserFullName(QStringLiteral("Alice Archer"));
    const GlobalData::CardList cards{card("101", "Acme Corporation", "Ann", "Smith", "ann@acme.example"),
        card("102", "Beta Trading", "Bo", "", "bo@beta.example"), card("103", "Gamma Works", "Cy", "Jones", "cy@gamma.example")};
    global.setCardInfoListFromXML(cards);

    UploadViewController upload(global);
    upload.ShowUploadView();
    if (!save(upload._uploadView(), out.filePath(QStringLiteral("upload-window.png"))))
        return 1;

    global.setUploadResult({outcome(cards[0], kUploadAsLead, kUploadDone, 0), outcome(cards[1], kUploadAsLead, kUploadFailed, 10202),
        outcome(cards[2], kUploadAsLead, kUploadSkipped, 0)});
    ResultViewController result(global);
    result.ShowResultView();
    return save(result._resultView(), out.filePath(QStringLiteral("result-window.png"))) ? 0 : 1;
}
