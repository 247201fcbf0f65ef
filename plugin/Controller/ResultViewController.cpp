#include "plugin/Controller/ResultViewController.h"

#include "platform/appkit/PanelService.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/foundation/TemporaryWrite.h"
#include "plugin/Common/DoUploadResult.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/PluginHelp.h"
#include "plugin/Controller/ViewTexts.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using ViewTexts::format;
using ViewTexts::text;

namespace {

constexpr int kReturnCodeOfLateFailure = 1000000;

void log(int level, const char* line)
{
    LogManager::LogOutput(level, QString::fromLatin1(line));
}

// UTF-16 little-endian after its byte-order mark, moved into place only when complete.
bool writeUtf16(const QString& path, const QString& content)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + content.size() * 2);
    for (const QChar c : content) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return writeThroughTemporary(path, bytes);
}

bool makeFolderOf(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    return QFileInfo(folder).isDir() || CommonFuc::CreatePath(folder);
}

QString hostValue(int status)
{
    switch (status) {
    case kUploadDone:
        return QStringLiteral("0");
    case kUploadWarning:
        return QStringLiteral("-1");
    case kUploadSkipped:
        return QStringLiteral("1");
    case kUploadFailed:
        return QStringLiteral("-2");
    default:
        return QString();
    }
}

}

ResultViewController::ResultViewController(GlobalData& global) : m_global(global)
{
    m_window = new PluginDialog(global.Windows(), "_resultView");
    m_window->setWindowTitle(text("LTL04006"));
    _msgField = new QLabel(m_window);
    _msgField->setObjectName(QStringLiteral("_msgField"));
    _msgField->setWordWrap(true);
    _resultList = new QTableWidget(0, 5, m_window);
    _resultList->setObjectName(QStringLiteral("_resultList"));
    _resultList->setAccessibleName(text("LTL04006"));
    _resultList->setHorizontalHeaderLabels({text("LTL04007"), text("LTL04008"), text("LTL04009"), text("LTL04010"), text("LTL04011")});
    _resultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    _resultList->verticalHeader()->hide();
    // A row is as tall as its whole detail, wrapped at the column's width: none is cut off.
    _resultList->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    _resultList->horizontalHeader()->setStretchLastSection(true);
    _OKButton = new QPushButton(text("LTL04012"), m_window);
    _OKButton->setObjectName(QStringLiteral("_OKButton"));
    _OKButton->setDefault(true);
    _SaveButton = new QPushButton(text("LTL04013"), m_window);
    _SaveButton->setObjectName(QStringLiteral("_SaveButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PluginHelp::helpButton(m_window, "db_cloud_result.html", "ResultView:Help button click!",
        "ResultViewController:Error occurred when show help Info"));
    buttons->addStretch();
    buttons->addWidget(_SaveButton);
    buttons->addWidget(_OKButton);
    auto* layout = new QVBoxLayout(m_window);
    layout->addWidget(_msgField);
    layout->addWidget(_resultList);
    layout->addLayout(buttons);
    m_window->resize(640, 360);
    QObject::connect(_OKButton, &QPushButton::clicked, m_window, [this] { DoOK(); });
    QObject::connect(_SaveButton, &QPushButton::clicked, m_window, [this] { DoSave(); });
    // The close box ends the run as OK does.
    m_window->setCloseHandler([this] { DoOK(); });
}

ResultViewController::~ResultViewController()
{
    delete m_window;
}

ResultDisplay ResultViewController::displayOf(int index, const DoUploadResult& result)
{
    ResultDisplay row;
    row.no = index + 1;
    if (result.Card) {
        row.OrganizationName = result.Card->OrganizationName;
        row.FullName = result.Card->FullName;
    }
    const DisplayInfo labels = m_global.UserDisplayInfo() ? *m_global.UserDisplayInfo() : DisplayInfo();
    switch (result.Status) {
    case kUploadDone:
        row.Result = text("LTL04001");
        if (result.Type == kUploadAsLead)
            row.Detail = format("MSG04026", labels.LeadLabelName);
        else if (result.DestAccount)
            row.Detail = format("MSG04004", labels.AccountLabelName, result.DestAccount->getName(), labels.ContactLabelName);
        else
            row.Detail = format("MSG04027", labels.AccountLabelName, labels.ContactLabelName);
        break;
    case kUploadFailed: {
        row.Result = text("LTL04002");
        m_bAllSuccess = false;
        // A cancelled card's Lead went again because of the cancel, not because of its campaign.
        if (result.NeedRollbackLead && result.Code != kQDLUploadCancelled) {
            row.Detail = format("MSG04021", labels.CampaignLabelName);
            break;
        }
        const QString key = ErrorManager::GetErrorMessage(result.Code, 4, QString(), m_global);
        if (key == QLatin1String("MSG04008") || key == QLatin1String("MSG04017")) {
            row.Detail = formatText(ViewTexts::textOrSelf(key), result.ExceptionMessage).remove(QLatin1Char('\n'));
        } else if (result.RollbackFailed) {
            // A cancelled card is said to have left nothing only when nothing was left.
            const QString left = text("MSG04031");
            row.Detail = result.Code == kQDLUploadCancelled ? left : ViewTexts::textOrSelf(key) + QLatin1Char(' ') + left;
        } else {
            row.Detail = ViewTexts::textOrSelf(key);
        }
        if (result.AnswerLost)
            row.Detail += QLatin1Char(' ') + text("MSG04033");
        break;
    }
    case kUploadSkipped: {
        row.Result = text("LTL04003");
        m_bAllSuccess = false;
        const char* key = nullptr;
        if (row.OrganizationName.isEmpty())
            key = "MSG04028";
        else if (result.Card && !result.Card->NeedUpload)
            key = "MSG04016";
        else if (result.Code == 10304)
            key = "MSG04028";
        else if (result.Code == 10201)
            key = "MSG04005";
        else if (result.Code == 10303)
            key = "MSG04006";
        else if (result.Code == 10212)
            key = "MSG04025";
        else if (result.Code == 10202)
            key = "MSG04029";
        else if (result.Code != 0 || m_global.ReturnCode() > kReturnCodeOfLateFailure)
            key = "MSG04018";
        if (key)
            row.Detail = text(key);
        break;
    }
    case kUploadWarning:
        row.Result = text("LTL04004");
        row.Detail = result.Code == 10207 ? format("MSG04023", CommonFuc::SpliceWarnMsg(result.OverLengthTextList)) : text("MSG04009");
        break;
    default:
        break;
    }
    return row;
}

void ResultViewController::ShowResultView()
{
    _OKButton->setFocus();
    log(kLogInformation, "ResultViewController:ShowResultView start");
    m_rows.clear();
    m_bAllSuccess = true;
    _resultList->setRowCount(0);
    const UploadResults& results = m_global.UploadResult();
    if (results.empty()) {
        log(kLogError, "ResultView:no card infomations are uploaded");
        _msgField->setText(text("MSG04003"));
        m_global.setViewCode(kViewResult);
        return;
    }
    int uploaded = 0;
    int summary = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        const DoUploadResult& result = *results[i];
        m_rows.push_back(displayOf(int(i), result));
        if (result.Status == kUploadDone || result.Status == kUploadWarning) {
            ++uploaded;
            summary = summary == 0 ? 1 : summary;
        } else if (result.Status == kUploadFailed) {
            summary = 2;
        }
    }
    _resultList->setRowCount(int(m_rows.size()));
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const ResultDisplay& row = m_rows[i];
        const QString cells[] = {QString::number(row.no), row.OrganizationName, row.FullName, row.Result, row.Detail};
        for (int column = 0; column < 5; ++column)
            _resultList->setItem(int(i), column, new QTableWidgetItem(cells[column]));
    }
    if (summary == 0)
        _msgField->setText(text("MSG04003"));
    else if (summary == 1)
        _msgField->setText(format("MSG04001", int(results.size()), uploaded));
    else
        _msgField->setText(text("MSG04002"));
    _resultList->clearSelection();
}

void ResultViewController::Run()
{
    CommonFuc::ShowWindowCenter(m_window, m_global.Windows());
    m_window->exec();
}

void ResultViewController::DoOK()
{
    log(kLogInformation, "ResultViewController:OK button click");
    if (m_global.OutPutCSV() && !m_bAllSuccess) {
        const QString path = hostResultFile();
        LogManager::LogOutput(kLogInformation, path);
        OutPutCSVFile(path);
    }
    if (m_global.ReturnCode() == 0 && !m_bAllSuccess)
        m_global.setReturnCode(kReturnNotAllUploaded);
    m_global.setViewCode(kViewNone);
    m_window->finish();
}

QString ResultViewController::hostResultFile()
{
    return userDataDir() + QStringLiteral("/Pelmora/QuendrelResult.csv");
}

void ResultViewController::DoSave()
{
    PanelRequest request;
    request.window = m_window;
    request.title = text("LTL04005");
    request.directory = userHomeDir();
    request.name = QStringLiteral("result_%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")));
    request.allowedTypes = {QStringLiteral("csv")};
    // The report is text the user may want under a name of their own, "report.txt" for one.
    request.allowsOtherFileTypes = true;
    const QString path = PanelService::current().runSavePanel(request);
    if (!path.isEmpty())
        OutPutResultCSVFile(path);
}

QString ResultViewController::hostFileContent() const
{
    QString content = QStringLiteral("#card-id,result");
    for (const auto& result : m_global.UploadResult())
        content += QStringLiteral("\r\n") + (result->Card ? result->Card->PersonID : QString()) + QLatin1Char(',') + hostValue(result->Status);
    return content;
}

QString ResultViewController::reportContent() const
{
    QString content = QStringLiteral("#No,OrganizationName,Name,Result,Detail");
    for (const ResultDisplay& row : m_rows) {
        content += QStringLiteral("\r\n\"") + QString::number(row.no);
        for (const QString& value : {row.OrganizationName, row.FullName, row.Result, row.Detail})
            content += QStringLiteral("\",\"") + CommonFuc::ConvertDoubleQuote(value);
        content += QLatin1Char('"');
    }
    return content;
}

bool ResultViewController::OutPutCSVFile(const QString& path)
{
    auto fail = [this](int level, const char* line, const char* key) {
        log(level, line);
        ViewTexts::alert(text(key), m_window);
        return false;
    };
    if (path.isEmpty())
        return fail(kLogInformation, "ResultView:CSV file output Failed", "MSG04015");
    if (QFileInfo::exists(path)) {
        if (!CommonFuc::DeleteFileAtPath(path))
            return fail(kLogInformation, "ResultView:CSV file delete Failed", "MSG04014");
    } else if (!makeFolderOf(path)) {
        return fail(kLogError, "ResultView:CSV file path creat failed", "MSG04015");
    }
    if (!writeUtf16(path, hostFileContent()))
        return fail(kLogError, "ResultView:CSV file output Failed", "MSG04015");
    log(kLogError, "ResultView:CSV file output succeed");
    return true;
}

bool ResultViewController::OutPutResultCSVFile(const QString& path)
{
    auto fail = [this](int level, const char* line) {
        log(level, line);
        ViewTexts::alert(text("MSG04030"), m_window);
        return false;
    };
    if (path.isEmpty())
        return fail(kLogInformation, "ResultView:Upload Result CSV file output Failed");
    if (!makeFolderOf(path))
        return fail(kLogError, "ResultView:Upload Result CSV file path creat failed");
    if (!writeUtf16(path, reportContent()))
        return fail(kLogError, "ResultView:Upload Result CSV file output Failed");
    log(kLogInformation, "ResultView:Upload Result CSV file output succeed");
    return true;
}
