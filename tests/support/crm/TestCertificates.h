// A certificate authority made for one test and a server certificate it signs, so that a loopback
// server can speak HTTPS: the authority's PEM file is what a client is told to trust.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

typedef struct ssl_ctx_st SSL_CTX;

class TestCertificates {
public:
    // `serverNames` go into the server certificate's subject alternative names, in OpenSSL's
    // form ("IP:127.0.0.1", "DNS:localhost"). The authority's file is written into `folder`.
    TestCertificates(const QString& folder, const QStringList& serverNames);
    ~TestCertificates();
    TestCertificates(const TestCertificates&) = delete;
    TestCertificates& operator=(const TestCertificates&) = delete;

    bool isValid() const;
    QString authorityFile() const { return m_authorityFile; }
    // A server context presenting the server certificate; owned by this object.
    SSL_CTX* serverContext() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
    QString m_authorityFile;
};
