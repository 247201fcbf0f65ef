// A fake of the CRM service's enterprise SOAP interface for tests: an HTTP/1.1 server on 127.0.0.1
// with a free port, inside the test process. It records every request and answers in the service's
// documented response form: login, query and queryMore with paging, create, delete,
// describeSObjects, describeTabs and logout, with faults sent as HTTP 500. Replies queued with
// `queueReply` answer the next requests instead (transport misbehaviour, scripted faults).
// Given test certificates, it speaks HTTPS instead of plain HTTP.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "tests/support/crm/FakeSoql.h"

#include <libxml/tree.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class TestCertificates;

struct FakeCrmRequest {
    QByteArray method;
    QByteArray path;
    QHash<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;
    bool expectContinue = false;
    // From the envelope: the Body's first element, the Header's blocks and the session id.
    QString operation;
    QStringList headerBlocks;
    QString sessionId;
    // What the call asked for: the SOQL of a query, the record types of a create, the ids of a delete.
    QString queryString;
    QStringList createdTypes;
    QStringList deletedIds;
};

struct FakeCrmReply {
    int status = 200;
    QByteArray contentType = "text/xml; charset=utf-8";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    int delayMs = 0;              // wait before answering
    bool dropConnection = false;  // close without any answer
    int trickleMs = 0; // send the body one byte at a time, this long apart
};

struct FakeCrmRecord {
    QString type;
    QString id;
    QStringList fieldElements;  // complete elements, for example <sf:Name>Acme</sf:Name>
    QString value(const QString& field) const;  // a field's text; null when the record has none
};

// A record the service refuses at create: of `type`, with `field` equal to `value`.
struct FakeCrmRecordRule {
    QString type;
    QString field;     // empty: the record at `position` of the call
    QString value;
    int position = -1;
    QString statusCode;
    QString message;
};

class FakeCrmService {
public:
    // Plain HTTP without certificates; HTTPS with the server certificate of `tls` (kept alive by the caller).
    explicit FakeCrmService(const TestCertificates* tls = nullptr);
    ~FakeCrmService();
    FakeCrmService(const FakeCrmService&) = delete;
    FakeCrmService& operator=(const FakeCrmService&) = delete;

    quint16 port() const { return m_port; }
    QString baseUrl() const;       // http://127.0.0.1:<port> (https with certificates)
    QString loginUrl() const;      // the login endpoint for API 19.0
    QString serverPath() const;    // the path of the serverUrl that login hands out
    QString sessionId() const;     // the session of the last login

    void setCredentials(const QString& userName, const QString& password);
    void setPasswordExpired(bool expired);
    void setAcceptedApiVersion(const QString& version);
    void setPageSize(int records);
    // Create and delete responses carry a DebuggingInfo header with this log when not empty.
    void setDebugLog(const QString& log);
    // The next call with a valid session is refused once with INVALID_SESSION_ID.
    void invalidateSessionOnce();
    void queueReply(const FakeCrmReply& reply);
    // The request with this number (from 1, counting every request) is answered by `reply`.
    void scriptReply(int requestNumber, const FakeCrmReply& reply);
    void addRecordRule(const FakeCrmRecordRule& rule);
    // The create of this request number answers for every record but the last (which is made all the same).
    void dropLastResultOfRequest(int requestNumber);
    // Every create is carried out at once, but answered only this many milliseconds later.
    void setCreateAnswerDelay(int ms);
    // The request with this number is carried out, but its answer breaks off half-way.
    void garbleAnswerOfRequest(int requestNumber);
    // The request with this number is carried out at once (its records are made), but its answer
    // waits until releaseHeldAnswer; heldRequestArrived tells when it has come.
    void holdAnswerOfRequest(int requestNumber);
    bool heldRequestArrived() const;
    void releaseHeldAnswer();
    // Query results typed xsi:type="QueryResult", as some of the live service's answers are.
    void setTypedQueryResults(bool typed);
    // One line a call: "login", "query Contact", "create Account x3", "delete x2", "logout".
    QStringList journal() const;

    QString addRecord(const QString& type, const QStringList& fieldElements);
    std::vector<FakeCrmRecord> records() const;
    std::vector<FakeCrmRequest> requests() const;

    // Element helpers for seeded records ("sf" is the record namespace in responses).
    static QString field(const QString& name, const QString& text);
    static QString nilField(const QString& name);
    // A SOAP 1.1 fault of the service's form, sent with HTTP 500.
    static FakeCrmReply faultReply(const QString& code, const QString& message);
    static FakeCrmReply soap12FaultReply(const QString& code, const QString& message);
    // A complete response envelope around `body` (and `header` when not empty).
    static QByteArray envelope(const QString& body, const QString& header = QString());

private:
    void acceptLoop();
    void serve(int socket);
    FakeCrmReply answer(const FakeCrmRequest& request, bool* held);
    FakeCrmReply answerLogin(xmlNodePtr operation);
    FakeCrmReply answerQuery(const QString& queryString);
    FakeCrmReply answerQueryMore(const QString& locator);
    FakeCrmReply answerCreate(xmlNodePtr operation);
    FakeCrmReply answerDelete(xmlNodePtr operation);
    FakeCrmReply answerDescribeSObjects(xmlNodePtr operation);
    QString page(const std::vector<QString>& ids, size_t offset, const std::shared_ptr<FakeSoqlQuery>& query);
    std::vector<QString> select(const FakeSoqlQuery& query) const;
    QString refusal(const QString& type, const QHash<QString, QString>& values) const;
    void cascadeDelete(const QString& id);
    QString newId(const QString& type);

    const TestCertificates* m_tls = nullptr;
    int m_listenSocket = -1;
    quint16 m_port = 0;
    std::atomic_bool m_stopping = false;
    std::thread m_acceptThread;
    std::vector<std::thread> m_connectionThreads;

    mutable std::mutex m_mutex;
    std::condition_variable m_stopSignal;
    std::vector<FakeCrmRequest> m_requests;
    std::deque<FakeCrmReply> m_queuedReplies;
    std::map<int, FakeCrmReply> m_scriptedReplies;
    std::vector<FakeCrmRecord> m_records;
    struct Locator {
        std::vector<QString> ids;
        size_t offset = 0;
        std::shared_ptr<FakeSoqlQuery> query;
    };
    std::map<QString, Locator> m_locators;
    std::vector<FakeCrmRecordRule> m_recordRules;
    bool m_typedQueryResults = false;
    int m_dropLastResultOfRequest = 0;
    int m_garbledRequest = 0;
    int m_createAnswerDelay = 0;
    int m_heldRequest = 0;
    bool m_heldArrived = false;
    bool m_heldReleased = false;
    QString m_userName = QStringLiteral("user@example.com");
    QString m_password = QStringLiteral("secret");
    QString m_apiVersion = QStringLiteral("19.0");
    QString m_sessionId;
    QString m_debugLog;
    bool m_passwordExpired = false;
    bool m_invalidateSessionOnce = false;
    int m_pageSize = 200;
    int m_nextId = 1;
    int m_nextLocator = 1;
    int m_logins = 0;
};
