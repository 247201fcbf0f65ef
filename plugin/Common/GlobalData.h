// The state of one call of the plug-in's entry, shared by its windows, handlers and providers.
// The entry makes a fresh one for every call, so nothing of an earlier upload (session, cards,
// error text) leaks into the next one; only the log level is kept for the process (LogManager).
#pragma once

#include "plugin/Common/CardInfo.h"
#include "plugin/Common/DisplayInfo.h"
#include "plugin/Common/DoUploadResult.h"
#include "plugin/Common/LoginInfo.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

// The next window of the flow.
enum ViewCode : int {
    kViewNone = 0,
    kViewLogin = 1,
    kViewUploadedCards = 2,
    kViewUpload = 3,
    kViewResult = 4,
    kViewWaiting = 5,
    kViewCampaignSearch = 7,
};

class GlobalData {
public:
    using CardList = std::vector<std::shared_ptr<CardInfo>>;

    const QString& sessionId() const { return m_sessionId; }
    void setSessionId(const QString& id) { m_sessionId = id; }
    const QString& serverUrl() const { return m_serverUrl; }
    void setServerUrl(const QString& url) { m_serverUrl = url; }
    const QString& UserFullName() const { return m_userFullName; }
    void setUserFullName(const QString& name) { m_userFullName = name; }
    const std::shared_ptr<DisplayInfo>& UserDisplayInfo() const { return m_userDisplayInfo; }
    void setUserDisplayInfo(const std::shared_ptr<DisplayInfo>& info) { m_userDisplayInfo = info; }
    const std::optional<LoginInfo>& UserLoginInfo() const { return m_userLoginInfo; }
    void setUserLoginInfo(const std::optional<LoginInfo>& info) { m_userLoginInfo = info; }
    const QString& XMLPath() const { return m_xmlPath; }
    void setXMLPath(const QString& path) { m_xmlPath = path; }
    // None when the card file could not be read.
    const std::optional<CardList>& CardInfoListFromXML() const { return m_cards; }
    void setCardInfoListFromXML(const std::optional<CardList>& cards) { m_cards = cards; }
    // The rows of the last upload run, for the result window.
    const UploadResults& UploadResult() const { return m_uploadResult; }
    void setUploadResult(const UploadResults& rows) { m_uploadResult = rows; }
    const QString& ExceptionMsg() const { return m_exceptionMsg; }
    void setExceptionMsg(const QString& text) { m_exceptionMsg = text; }
    QWidget* Windows() const { return m_window; }
    void setWindows(QWidget* window) { m_window = window; }
    bool OutPutCSV() const { return m_outPutCSV; }
    void setOutPutCSV(bool on) { m_outPutCSV = on; }
    int ReturnCode() const { return m_returnCode; }
    void setReturnCode(int code) { m_returnCode = code; }
    int ViewCode() const { return m_viewCode; }
    void setViewCode(int code) { m_viewCode = code; }
    double loginCostTime() const { return m_loginCostTime; }
    void setloginCostTime(double seconds) { m_loginCostTime = seconds; }
    double SFTimeOut() const { return m_sfTimeOut; }
    void setSFTimeOut(double seconds) { m_sfTimeOut = seconds; }
    double SFADDTimeOut() const { return m_sfAddTimeOut; }
    void setSFADDTimeOut(double seconds) { m_sfAddTimeOut = seconds; }

    // Logged in: a session and the server address it belongs to.
    bool isLoggedIn() const { return !m_sessionId.isEmpty() && !m_serverUrl.isEmpty(); }

private:
    QString m_sessionId;
    QString m_serverUrl;
    QString m_userFullName;
    std::shared_ptr<DisplayInfo> m_userDisplayInfo;
    std::optional<LoginInfo> m_userLoginInfo;
    QString m_xmlPath;
    std::optional<CardList> m_cards;
    UploadResults m_uploadResult;
    QString m_exceptionMsg;
    QPointer<QWidget> m_window;
    bool m_outPutCSV = false;
    int m_returnCode = 0;
    int m_viewCode = kViewNone;
    double m_loginCostTime = 0;
    double m_sfTimeOut = -1.0;
    double m_sfAddTimeOut = -1.0;
};
