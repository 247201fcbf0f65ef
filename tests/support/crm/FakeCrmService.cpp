#include "tests/support/crm/FakeCrmService.h"

#include "tests/support/crm/TestCertificates.h"

#include <QRegularExpression>

#include <libxml/parser.h>
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace {

constexpr const char* kOrganizationPath = "/00D000000000001";
constexpr const char* kSoapPath = "/services/Soap/c/";

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString localName(xmlNodePtr node)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(node->name));
}

QString nodeText(xmlNodePtr node)
{
    xmlChar* content = xmlNodeGetContent(node);
    QString text = content ? QString::fromUtf8(reinterpret_cast<const char*>(content)) : QString();
    xmlFree(content);
    return text;
}

std::vector<xmlNodePtr> elementChildren(xmlNodePtr node, const char* name = nullptr)
{
    std::vector<xmlNodePtr> out;
    for (xmlNodePtr child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && (!name || localName(child) == QLatin1String(name)))
            out.push_back(child);
    }
    return out;
}

QString childText(xmlNodePtr node, const char* name)
{
    const auto children = elementChildren(node, name);
    return children.empty() ? QString() : nodeText(children.back());
}

QString nodeXml(xmlNodePtr node)
{
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlNodeDump(buffer, node->doc, node, 0, 0);
    QString xml = QString::fromUtf8(reinterpret_cast<const char*>(xmlBufferContent(buffer)));
    xmlBufferFree(buffer);
    return xml;
}

// The local name of a stored field element ("<sf:Name>…" gives "Name").
QString elementName(const QString& element)
{
    static const QRegularExpression name(QStringLiteral("^<(?:[\\w.]+:)?([\\w.]+)"));
    return name.match(element).captured(1);
}

QString unescaped(QString text)
{
    return text.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&apos;"), QLatin1String("'"))
        .replace(QLatin1String("&#39;"), QLatin1String("'")).replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 401: return "Unauthorized";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

// One accepted connection, plain or TLS.
class Connection {
public:
    Connection(int socket, SSL_CTX* tls) : m_socket(socket)
    {
        if (!tls)
            return;
        m_ssl = SSL_new(tls);
        if (!m_ssl || SSL_set_fd(m_ssl, socket) != 1 || SSL_accept(m_ssl) != 1)
            m_failed = true;
    }
    ~Connection()
    {
        if (m_ssl) {
            if (!m_failed)
                SSL_shutdown(m_ssl);
            SSL_free(m_ssl);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // False when the TLS handshake failed (the client refused the certificate).
    bool isOpen() const { return !m_failed; }

    ssize_t receive(char* buffer, size_t size)
    {
        if (!m_ssl)
            return ::recv(m_socket, buffer, size, 0);
        const int n = SSL_read(m_ssl, buffer, int(size));
        return n > 0 ? n : -1;
    }

    bool sendAll(const QByteArray& data)
    {
        qsizetype sent = 0;
        while (sent < data.size()) {
            const ssize_t n = m_ssl ? SSL_write(m_ssl, data.constData() + sent, int(data.size() - sent))
                                    : ::send(m_socket, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += n;
        }
        return true;
    }

private:
    int m_socket;
    SSL* m_ssl = nullptr;
    bool m_failed = false;
};

QString resultXml(const QString& id, bool success, const QString& errorFields, const QString& message, const QString& statusCode)
{
    if (success)
        return QStringLiteral("<result><id>%1</id><success>true</success></result>").arg(id);
    QString fields;
    for (const QString& f : errorFields.split(QLatin1Char(','), Qt::SkipEmptyParts))
        fields += QStringLiteral("<fields>%1</fields>").arg(f);
    return QStringLiteral("<result><errors>%1<message>%2</message><statusCode>%3</statusCode></errors>"
                          "<id xsi:nil=\"true\"/><success>false</success></result>")
        .arg(fields, escaped(message), statusCode);
}

}

FakeCrmService::FakeCrmService(const TestCertificates* tls)
    : m_tls(tls)
{
    if (m_tls)
        ::signal(SIGPIPE, SIG_IGN);  // a client that refuses the certificate closes under the handshake
    m_listenSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(m_listenSocket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listenSocket, 16);
    socklen_t length = sizeof address;
    ::getsockname(m_listenSocket, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread([this] { acceptLoop(); });
}

FakeCrmService::~FakeCrmService()
{
    m_stopping = true;
    m_stopSignal.notify_all();
    ::shutdown(m_listenSocket, SHUT_RDWR);
    ::close(m_listenSocket);
    m_acceptThread.join();
    for (std::thread& t : m_connectionThreads)
        t.join();
}

QString FakeCrmRecord::value(const QString& field) const
{
    for (const QString& element : fieldElements) {
        if (elementName(element).compare(field, Qt::CaseInsensitive) != 0)
            continue;
        static const QRegularExpression text(QStringLiteral("^<[^>]*[^/]>(.*)</[^>]+>$"), QRegularExpression::DotMatchesEverythingOption);
        const auto match = text.match(element);
        return match.hasMatch() ? unescaped(match.captured(1)) : QString();
    }
    return QString();
}

QString FakeCrmService::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(m_port);
}

QString FakeCrmService::loginUrl() const
{
    return baseUrl() + QLatin1String(kSoapPath) + QStringLiteral("19.0");
}

QString FakeCrmService::serverPath() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return QLatin1String(kSoapPath) + m_apiVersion + QLatin1String(kOrganizationPath);
}

QString FakeCrmService::sessionId() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sessionId;
}

void FakeCrmService::setCredentials(const QString& userName, const QString& password)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_userName = userName;
    m_password = password;
}

void FakeCrmService::setPasswordExpired(bool expired)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_passwordExpired = expired;
}

void FakeCrmService::setAcceptedApiVersion(const QString& version)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_apiVersion = version;
}

void FakeCrmService::setPageSize(int records)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pageSize = std::max(1, records);
}

void FakeCrmService::setDebugLog(const QString& log)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_debugLog = log;
}

void FakeCrmService::invalidateSessionOnce()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_invalidateSessionOnce = true;
}

void FakeCrmService::queueReply(const FakeCrmReply& reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queuedReplies.push_back(reply);
}

void FakeCrmService::scriptReply(int requestNumber, const FakeCrmReply& reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_scriptedReplies[requestNumber] = reply;
}

void FakeCrmService::addRecordRule(const FakeCrmRecordRule& rule)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_recordRules.push_back(rule);
}

void FakeCrmService::holdAnswerOfRequest(int requestNumber)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_heldRequest = requestNumber;
    m_heldArrived = false;
    m_heldReleased = false;
}

bool FakeCrmService::heldRequestArrived() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_heldArrived;
}

void FakeCrmService::releaseHeldAnswer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_heldReleased = true;
    m_stopSignal.notify_all();
}

void FakeCrmService::setCreateAnswerDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_createAnswerDelay = ms;
}

void FakeCrmService::garbleAnswerOfRequest(int requestNumber)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_garbledRequest = requestNumber;
}

void FakeCrmService::dropLastResultOfRequest(int requestNumber)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dropLastResultOfRequest = requestNumber;
}

void FakeCrmService::setTypedQueryResults(bool typed)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_typedQueryResults = typed;
}

QStringList FakeCrmService::journal() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QStringList lines;
    for (const FakeCrmRequest& request : m_requests) {
        QString line = request.operation;
        if (request.operation == QLatin1String("query")) {
            static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(\\w+)"),
                QRegularExpression::CaseInsensitiveOption);
            line += QLatin1Char(' ') + from.match(request.queryString).captured(1);
        } else if (request.operation == QLatin1String("create")) {
            QStringList parts;
            QStringList types = request.createdTypes;
            types.removeDuplicates();
            for (const QString& type : types)
                parts.append(QStringLiteral("%1 x%2").arg(type, QString::number(request.createdTypes.count(type))));
            line += QLatin1Char(' ') + (parts.isEmpty() ? QStringLiteral("x0") : parts.join(QLatin1String(", ")));
        } else if (request.operation == QLatin1String("delete")) {
            line += QStringLiteral(" x%1").arg(request.deletedIds.size());
        }
        lines.append(line);
    }
    return lines;
}

QString FakeCrmService::addRecord(const QString& type, const QStringList& fieldElements)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const QString id = newId(type);
    m_records.push_back({type, id, fieldElements});
    return id;
}

std::vector<FakeCrmRecord> FakeCrmService::records() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

std::vector<FakeCrmRequest> FakeCrmService::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

QString FakeCrmService::field(const QString& name, const QString& text)
{
    return QStringLiteral("<sf:%1>%2</sf:%1>").arg(name, escaped(text));
}

QString FakeCrmService::nilField(const QString& name)
{
    return QStringLiteral("<sf:%1 xsi:nil=\"true\"/>").arg(name);
}

QByteArray FakeCrmService::envelope(const QString& body, const QString& header)
{
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\""
        " xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        " xmlns:sf=\"urn:sobject.enterprise.soap.sforce.com\" xmlns:ens=\"urn:sobject.enterprise.soap.sforce.com\">");
    if (!header.isEmpty())
        xml += QStringLiteral("<soapenv:Header>") + header + QStringLiteral("</soapenv:Header>");
    xml += QStringLiteral("<soapenv:Body>") + body + QStringLiteral("</soapenv:Body></soapenv:Envelope>");
    return xml.toUtf8();
}

FakeCrmReply FakeCrmService::faultReply(const QString& code, const QString& message)
{
    FakeCrmReply reply;
    reply.status = 500;
    reply.body = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\""
        " xmlns:sf=\"urn:fault.enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
        "<soapenv:Body><soapenv:Fault><faultcode>sf:%1</faultcode><faultstring>%1: %2</faultstring>"
        "<detail><sf:UnexpectedErrorFault xsi:type=\"sf:UnexpectedErrorFault\"><sf:exceptionCode>%1</sf:exceptionCode>"
        "<sf:exceptionMessage>%2</sf:exceptionMessage></sf:UnexpectedErrorFault></detail>"
        "</soapenv:Fault></soapenv:Body></soapenv:Envelope>")
                     .arg(code, escaped(message))
                     .toUtf8();
    return reply;
}

FakeCrmReply FakeCrmService::soap12FaultReply(const QString& code, const QString& message)
{
    FakeCrmReply reply;
    reply.status = 500;
    reply.contentType = "application/soap+xml; charset=utf-8";
    reply.body = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\"><env:Body><env:Fault>"
        "<env:Code><env:Value>env:Receiver</env:Value><env:Subcode><env:Value>%1</env:Value></env:Subcode></env:Code>"
        "<env:Reason><env:Text xml:lang=\"en\">%2</env:Text></env:Reason>"
        "</env:Fault></env:Body></env:Envelope>")
                     .arg(code, escaped(message))
                     .toUtf8();
    return reply;
}

QString FakeCrmService::newId(const QString& type)
{
    static const QHash<QString, QString> prefixes = {{"Account", "001"}, {"Contact", "003"}, {"Lead", "00Q"},
        {"Campaign", "701"}, {"CampaignMember", "00v"}, {"Attachment", "00P"}, {"User", "005"}};
    return prefixes.value(type, QStringLiteral("a00")) + QStringLiteral("%1").arg(m_nextId++, 15, 10, QLatin1Char('0'));
}

void FakeCrmService::acceptLoop()
{
    while (!m_stopping) {
        const int connection = ::accept4(m_listenSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (m_stopping)
                return;
            continue;
        }
        timeval timeout {5, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_connectionThreads.emplace_back([this, connection] {
            serve(connection);
            ::close(connection);
        });
    }
}

void FakeCrmService::serve(int socket)
{
    Connection connection(socket, m_tls ? m_tls->serverContext() : nullptr);
    if (!connection.isOpen())
        return;
    QByteArray data;
    char buffer[65536];
    qsizetype headerEnd = -1;
    while ((headerEnd = data.indexOf("\r\n\r\n")) < 0) {
        const ssize_t n = connection.receive(buffer, sizeof buffer);
        if (n <= 0)
            return;
        data.append(buffer, n);
    }
    FakeCrmRequest request;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    if (request.headers.value("expect").toLower() == "100-continue") {
        request.expectContinue = true;
        connection.sendAll("HTTP/1.1 100 Continue\r\n\r\n");
    }
    const qsizetype length = request.headers.value("content-length").toLongLong();
    request.body = data.mid(headerEnd + 4);
    while (request.body.size() < length) {
        const ssize_t n = connection.receive(buffer, sizeof buffer);
        if (n <= 0)
            return;
        request.body.append(buffer, n);
    }

    bool held = false;
    FakeCrmReply reply = answer(request, &held);
    if (reply.delayMs > 0) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_stopSignal.wait_for(lock, std::chrono::milliseconds(reply.delayMs), [this] { return m_stopping.load(); });
    }
    if (held) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_stopSignal.wait(lock, [this] { return m_heldReleased || m_stopping.load(); });
    }
    if (reply.dropConnection || m_stopping)
        return;
    QByteArray response = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    if (!reply.contentType.isEmpty())
        response += "Content-Type: " + reply.contentType + "\r\n";
    for (const auto& [name, value] : reply.headers)
        response += name + ": " + value + "\r\n";
    response += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
    if (reply.trickleMs <= 0) {
        connection.sendAll(response + reply.body);
        return;
    }
    if (!connection.sendAll(response))
        return;
    for (const char byte : std::as_const(reply.body)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_stopSignal.wait_for(lock, std::chrono::milliseconds(reply.trickleMs), [this] { return m_stopping.load(); }))
            return;
        lock.unlock();
        if (!connection.sendAll(QByteArray(1, byte)))
            return;
    }
}

FakeCrmReply FakeCrmService::answer(const FakeCrmRequest& received, bool* held)
{
    FakeCrmRequest request = received;
    xmlDocPtr doc = xmlReadMemory(request.body.constData(), int(request.body.size()), nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlNodePtr root = doc ? xmlDocGetRootElement(doc) : nullptr;
    xmlNodePtr operation = nullptr;
    for (xmlNodePtr part : elementChildren(root)) {
        if (localName(part) == QLatin1String("Header")) {
            for (xmlNodePtr block : elementChildren(part)) {
                request.headerBlocks.append(localName(block));
                if (localName(block) == QLatin1String("SessionHeader"))
                    request.sessionId = childText(block, "sessionId");
            }
        } else if (localName(part) == QLatin1String("Body")) {
            const auto children = elementChildren(part);
            operation = children.empty() ? nullptr : children.front();
        }
    }
    if (operation) {
        request.operation = localName(operation);
        request.queryString = childText(operation, "queryString");
        for (xmlNodePtr object : elementChildren(operation, "sObjects")) {
            xmlChar* type = xmlGetNsProp(object, reinterpret_cast<const xmlChar*>("type"),
                reinterpret_cast<const xmlChar*>("http://www.w3.org/2001/XMLSchema-instance"));
            request.createdTypes.append(QString::fromUtf8(reinterpret_cast<const char*>(type)).section(QLatin1Char(':'), -1));
            xmlFree(type);
        }
        for (xmlNodePtr id : elementChildren(operation, "ids"))
            request.deletedIds.append(nodeText(id));
    }

    std::unique_lock<std::mutex> lock(m_mutex);
    m_requests.push_back(request);
    if (m_heldRequest == int(m_requests.size())) {
        *held = true;
        m_heldArrived = true;
    }
    FakeCrmReply reply;
    const auto scripted = m_scriptedReplies.find(int(m_requests.size()));
    if (scripted != m_scriptedReplies.end()) {
        reply = scripted->second;
    } else if (!m_queuedReplies.empty()) {
        reply = m_queuedReplies.front();
        m_queuedReplies.pop_front();
    } else if (!operation) {
        reply = faultReply(QStringLiteral("INVALID_SOAP_HEADER"), QStringLiteral("no operation in the request"));
    } else {
        const QString path = QString::fromUtf8(request.path);
        const QString loginPath = QLatin1String(kSoapPath) + m_apiVersion;
        if (!path.startsWith(QLatin1String(kSoapPath)) || !(path == loginPath || path.startsWith(loginPath + QLatin1Char('/')))) {
            reply = faultReply(QStringLiteral("UNSUPPORTED_API_VERSION"), QStringLiteral("Invalid Api version specified on URL"));
        } else if (request.operation == QLatin1String("login")) {
            reply = answerLogin(operation);
        } else if (path != loginPath + QLatin1String(kOrganizationPath) || m_sessionId.isEmpty() || request.sessionId != m_sessionId) {
            reply = faultReply(QStringLiteral("INVALID_SESSION_ID"), QStringLiteral("Invalid Session ID found in SessionHeader"));
        } else if (m_invalidateSessionOnce) {
            m_invalidateSessionOnce = false;
            m_sessionId.clear();
            reply = faultReply(QStringLiteral("INVALID_SESSION_ID"), QStringLiteral("Session expired or invalid"));
        } else if (request.operation == QLatin1String("query")) {
            reply = answerQuery(childText(operation, "queryString"));
        } else if (request.operation == QLatin1String("queryMore")) {
            reply = answerQueryMore(childText(operation, "queryLocator"));
        } else if (request.operation == QLatin1String("create")) {
            reply = answerCreate(operation);
            reply.delayMs = m_createAnswerDelay;
        } else if (request.operation == QLatin1String("delete")) {
            reply = answerDelete(operation);
        } else if (request.operation == QLatin1String("describeSObjects")) {
            reply = answerDescribeSObjects(operation);
        } else if (request.operation == QLatin1String("describeTabs")) {
            reply.body = envelope(QStringLiteral(
                "<describeTabsResponse><result><label>Sales</label><logoUrl>https://example.invalid/logo.png</logoUrl>"
                "<namespace xsi:nil=\"true\"/><selected>true</selected>"
                "<tabs><custom>false</custom><label>Accounts</label><sobjectName>Account</sobjectName><url>/001/o</url></tabs>"
                "<tabs><custom>false</custom><label>Leads</label><sobjectName>Lead</sobjectName><url>/00Q/o</url></tabs>"
                "</result></describeTabsResponse>"));
        } else if (request.operation == QLatin1String("logout")) {
            m_sessionId.clear();
            reply.body = envelope(QStringLiteral("<logoutResponse/>"));
        } else {
            reply = faultReply(QStringLiteral("INVALID_OPERATION"), QStringLiteral("unknown operation"));
        }
    }
    if (m_garbledRequest == int(m_requests.size()))
        reply.body.truncate(reply.body.size() / 2);
    lock.unlock();
    if (doc)
        xmlFreeDoc(doc);
    return reply;
}

FakeCrmReply FakeCrmService::answerLogin(xmlNodePtr operation)
{
    if (childText(operation, "username") != m_userName || childText(operation, "password") != m_password)
        return faultReply(QStringLiteral("INVALID_LOGIN"), QStringLiteral("Invalid username, password, security token; or user locked out."));
    m_sessionId = QStringLiteral("00D000000000001!FAKESESSION%1").arg(++m_logins);
    FakeCrmReply reply;
    reply.body = envelope(QStringLiteral(
        "<loginResponse><result><metadataServerUrl>%1/services/Soap/m/%2%3</metadataServerUrl>"
        "<passwordExpired>%4</passwordExpired><sandbox>false</sandbox>"
        "<serverUrl>%1/services/Soap/c/%2%3</serverUrl><sessionId>%5</sessionId><userId>005000000000001AAA</userId>"
        "<userInfo><accessibilityMode>false</accessibilityMode><currencySymbol>$</currencySymbol>"
        "<orgDefaultCurrencyIsoCode>USD</orgDefaultCurrencyIsoCode><organizationId>00D000000000001AAA</organizationId>"
        "<organizationName>Example &amp; Co</organizationName><userEmail>%6</userEmail>"
        "<userFullName>Test User</userFullName><userId>005000000000001AAA</userId><userName>%6</userName>"
        "</userInfo></result></loginResponse>")
                              .arg(baseUrl(), m_apiVersion, QLatin1String(kOrganizationPath),
                                  m_passwordExpired ? QStringLiteral("true") : QStringLiteral("false"), m_sessionId,
                                  escaped(m_userName)));
    return reply;
}

QString FakeCrmService::page(const std::vector<QString>& ids, size_t offset, const std::shared_ptr<FakeSoqlQuery>& query)
{
    QString records;
    const size_t end = std::min(ids.size(), offset + size_t(m_pageSize));
    for (size_t i = offset; i < end; ++i) {
        for (const FakeCrmRecord& record : m_records) {
            if (record.id != ids[i])
                continue;
            QString fields;
            for (const QString& element : record.fieldElements) {
                if (query->selects(elementName(element)))
                    fields += element;
            }
            records += QStringLiteral("<records xsi:type=\"sf:%1\"><sf:Id>%2</sf:Id>%3</records>").arg(record.type, record.id, fields);
        }
    }
    QString locator = QStringLiteral("<queryLocator xsi:nil=\"true\"/>");
    const bool done = end >= ids.size();
    if (!done) {
        const QString name = QStringLiteral("01gFAKE-%1").arg(m_nextLocator++);
        m_locators[name] = {ids, end, query};
        locator = QStringLiteral("<queryLocator>%1</queryLocator>").arg(name);
    }
    const QString typed = m_typedQueryResults ? QStringLiteral(" xsi:type=\"QueryResult\"") : QString();
    return QStringLiteral("<result%1><done>%2</done>%3%4<size>%5</size></result>")
        .arg(typed, done ? QStringLiteral("true") : QStringLiteral("false"), locator, records, QString::number(ids.size()));
}

std::vector<QString> FakeCrmService::select(const FakeSoqlQuery& query) const
{
    std::vector<const FakeCrmRecord*> found;
    const FakeSoqlQuery::Subquery subquery = [this](const FakeSoqlQuery& inner) {
        QStringList values;
        const QString field = inner.fields.value(0);
        for (const QString& id : select(inner)) {
            for (const FakeCrmRecord& record : m_records) {
                if (record.id == id)
                    values.append(field.compare(QLatin1String("Id"), Qt::CaseInsensitive) == 0 ? record.id : record.value(field));
            }
        }
        return values;
    };
    for (const FakeCrmRecord& record : m_records) {
        if (record.type.compare(query.object, Qt::CaseInsensitive) != 0)
            continue;
        FakeSoqlQuery::Values values;
        values.insert(QStringLiteral("Id"), record.id);
        for (const QString& element : record.fieldElements) {
            const QString name = elementName(element);
            if (!record.value(name).isNull())
                values.insert(name, record.value(name));
        }
        if (query.matches(values, subquery))
            found.push_back(&record);
    }
    if (!query.orderBy.isEmpty()) {
        std::stable_sort(found.begin(), found.end(), [&](const FakeCrmRecord* a, const FakeCrmRecord* b) {
            const int order = a->value(query.orderBy).compare(b->value(query.orderBy), Qt::CaseInsensitive);
            return query.descending ? order > 0 : order < 0;
        });
    }
    if (query.limit >= 0 && found.size() > size_t(query.limit))
        found.resize(size_t(query.limit));
    std::vector<QString> ids;
    for (const FakeCrmRecord* record : found)
        ids.push_back(record->id);
    return ids;
}

FakeCrmReply FakeCrmService::answerQuery(const QString& queryString)
{
    QString error;
    const auto query = FakeSoqlQuery::parse(queryString, &error);
    if (!query)
        return faultReply(QStringLiteral("MALFORMED_QUERY"), error);
    FakeCrmReply reply;
    reply.body = envelope(QStringLiteral("<queryResponse>") + page(select(*query), 0, query) + QStringLiteral("</queryResponse>"));
    return reply;
}

FakeCrmReply FakeCrmService::answerQueryMore(const QString& locator)
{
    const auto it = m_locators.find(locator);
    if (it == m_locators.end())
        return faultReply(QStringLiteral("INVALID_QUERY_LOCATOR"), QStringLiteral("invalid query locator"));
    const Locator found = it->second;
    m_locators.erase(it);
    FakeCrmReply reply;
    reply.body = envelope(QStringLiteral("<queryMoreResponse>") + page(found.ids, found.offset, found.query)
        + QStringLiteral("</queryMoreResponse>"));
    return reply;
}

QString FakeCrmService::refusal(const QString& type, const QHash<QString, QString>& values) const
{
    static const QHash<QString, QStringList> required = {{"Account", {"Name"}}, {"Contact", {"LastName"}},
        {"Lead", {"LastName", "Company"}}, {"Attachment", {"Name", "ParentId"}}, {"CampaignMember", {"CampaignId"}}};
    for (const QString& field : required.value(type)) {
        if (values.value(field).isEmpty())
            return field;
    }
    return QString();
}

FakeCrmReply FakeCrmService::answerCreate(xmlNodePtr operation)
{
    const auto objects = elementChildren(operation, "sObjects");
    if (objects.size() > 200)
        return faultReply(QStringLiteral("EXCEEDED_ID_LIMIT"), QStringLiteral("record limit reached. cannot submit more than 200 records into this call"));
    auto exists = [this](const QString& id) {
        return std::any_of(m_records.begin(), m_records.end(), [&](const FakeCrmRecord& r) { return r.id == id; });
    };
    QStringList results;
    int position = -1;
    for (xmlNodePtr object : objects) {
        ++position;
        xmlChar* typeAttribute = xmlGetNsProp(object, reinterpret_cast<const xmlChar*>("type"),
            reinterpret_cast<const xmlChar*>("http://www.w3.org/2001/XMLSchema-instance"));
        const QString type = QString::fromUtf8(reinterpret_cast<const char*>(typeAttribute)).section(QLatin1Char(':'), -1);
        xmlFree(typeAttribute);
        QStringList fields;
        QHash<QString, QString> values;
        bool hasId = false;
        for (xmlNodePtr f : elementChildren(object)) {
            if (localName(f) == QLatin1String("Id"))
                hasId = true;
            if (localName(f) == QLatin1String("fieldsToNull") || localName(f) == QLatin1String("Id"))
                continue;
            fields.append(nodeXml(f));
            values.insert(localName(f), nodeText(f));
        }
        const QString missing = refusal(type, values);
        const auto rule = std::find_if(m_recordRules.begin(), m_recordRules.end(), [&](const FakeCrmRecordRule& r) {
            return r.type == type && (r.field.isEmpty() ? r.position == position : values.value(r.field) == r.value);
        });
        QString reference;
        for (const char* field : {"ParentId", "LeadId", "CampaignId", "AccountId"}) {
            const QString id = values.value(QLatin1String(field));
            if (values.contains(QLatin1String(field)) && !exists(id))
                reference = QLatin1String(field);
        }
        if (type.isEmpty()) {
            results.append(resultXml(QString(), false, QString(), QStringLiteral("sObject type missing"), QStringLiteral("INVALID_TYPE")));
        } else if (hasId) {
            results.append(resultXml(QString(), false, QStringLiteral("Id"), QStringLiteral("cannot specify Id in an insert call"),
                QStringLiteral("INVALID_FIELD_FOR_INSERT_UPDATE")));
        } else if (!missing.isEmpty()) {
            results.append(resultXml(QString(), false, missing, QStringLiteral("Required fields are missing: [%1]").arg(missing),
                QStringLiteral("REQUIRED_FIELD_MISSING")));
        } else if (rule != m_recordRules.end()) {
            results.append(resultXml(QString(), false, rule->field, rule->message, rule->statusCode));
        } else if (!reference.isEmpty()) {
            results.append(resultXml(QString(), false, reference, QStringLiteral("invalid cross reference id"),
                QStringLiteral("INVALID_CROSS_REFERENCE_KEY")));
        } else if (values.contains(QStringLiteral("Email")) && !values.value(QStringLiteral("Email")).contains(QLatin1Char('@'))) {
            results.append(resultXml(QString(), false, QStringLiteral("Email"), QStringLiteral("Email: invalid email address: ") + values.value(QStringLiteral("Email")),
                QStringLiteral("INVALID_EMAIL_ADDRESS")));
        } else {
            const QString id = newId(type);
            m_records.push_back({type, id, fields});
            results.append(resultXml(id, true, QString(), QString(), QString()));
        }
    }
    if (m_dropLastResultOfRequest == int(m_requests.size()) && !results.isEmpty())
        results.removeLast();
    FakeCrmReply reply;
    const QString header = m_debugLog.isEmpty() ? QString()
                                                : QStringLiteral("<DebuggingInfo><debugLog>%1</debugLog></DebuggingInfo>").arg(escaped(m_debugLog));
    reply.body = envelope(QStringLiteral("<createResponse>") + results.join(QString()) + QStringLiteral("</createResponse>"), header);
    return reply;
}

void FakeCrmService::cascadeDelete(const QString& id)
{
    // Children go with their parent: an Account's Contacts, a Lead's memberships, anyone's Attachments.
    std::vector<QString> children;
    for (const FakeCrmRecord& record : m_records) {
        if (record.value(QStringLiteral("AccountId")) == id || record.value(QStringLiteral("LeadId")) == id
            || record.value(QStringLiteral("ParentId")) == id)
            children.push_back(record.id);
    }
    m_records.erase(std::remove_if(m_records.begin(), m_records.end(), [&](const FakeCrmRecord& r) { return r.id == id; }),
        m_records.end());
    for (const QString& child : children)
        cascadeDelete(child);
}

FakeCrmReply FakeCrmService::answerDelete(xmlNodePtr operation)
{
    QString results;
    for (xmlNodePtr idNode : elementChildren(operation, "ids")) {
        const QString id = nodeText(idNode);
        const auto it = std::find_if(m_records.begin(), m_records.end(), [&](const FakeCrmRecord& r) { return r.id == id; });
        if (it == m_records.end()) {
            results += resultXml(id, false, QString(), QStringLiteral("entity is deleted"), QStringLiteral("ENTITY_IS_DELETED"));
        } else {
            cascadeDelete(id);
            results += resultXml(id, true, QString(), QString(), QString());
        }
    }
    FakeCrmReply reply;
    const QString header = m_debugLog.isEmpty() ? QString()
                                                : QStringLiteral("<DebuggingInfo><debugLog>%1</debugLog></DebuggingInfo>").arg(escaped(m_debugLog));
    reply.body = envelope(QStringLiteral("<deleteResponse>") + results + QStringLiteral("</deleteResponse>"), header);
    return reply;
}

FakeCrmReply FakeCrmService::answerDescribeSObjects(xmlNodePtr operation)
{
    auto fieldXml = [](const QString& name, const QString& label, const QString& type, const QString& picklist = QString()) {
        return QStringLiteral("<fields><createable>true</createable><label>%2</label><length>80</length><name>%1</name>"
                              "<nillable>true</nillable>%4<type>%3</type></fields>")
            .arg(name, label, type, picklist);
    };
    auto entry = [](const QString& value, bool isDefault) {
        return QStringLiteral("<picklistValues><active>true</active><defaultValue>%2</defaultValue><label>%1</label>"
                              "<value>%1</value></picklistValues>")
            .arg(value, isDefault ? QStringLiteral("true") : QStringLiteral("false"));
    };
    QString results;
    for (xmlNodePtr typeNode : elementChildren(operation, "sObjectType")) {
        const QString type = nodeText(typeNode);
        QString fields;
        if (type == QLatin1String("Lead")) {
            fields = fieldXml("LeadSource", "Lead Source", "picklist", entry("Web", false) + entry("Phone Inquiry", true))
                + fieldXml("Status", "Lead Status", "picklist", entry("Open - Not Contacted", true) + entry("Working - Contacted", false))
                + fieldXml("LastName", "Last Name", "string");
        } else if (type == QLatin1String("Campaign")) {
            fields = fieldXml("Name", "Campaign Name", "string") + fieldXml("StartDate", "Start Date", "date")
                + fieldXml("EndDate", "End Date", "date") + fieldXml("Type", "Type", "picklist") + fieldXml("Status", "Status", "picklist");
        } else if (type != QLatin1String("Account") && type != QLatin1String("Contact")) {
            return faultReply(QStringLiteral("INVALID_TYPE"), QStringLiteral("sObject type '%1' is not supported.").arg(type));
        }
        results += QStringLiteral("<result><createable>true</createable>%1<label>%2</label><labelPlural>%2s</labelPlural>"
                                  "<name>%2</name><queryable>true</queryable></result>")
                       .arg(fields, type);
    }
    FakeCrmReply reply;
    reply.body = envelope(QStringLiteral("<describeSObjectsResponse>") + results + QStringLiteral("</describeSObjectsResponse>"));
    return reply;
}
