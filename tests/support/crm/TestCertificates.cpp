#include "tests/support/crm/TestCertificates.h"

#include <QDir>
#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
    void operator()(X509* cert) const { X509_free(cert); }
};
struct ContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;

bool addExtension(X509* cert, X509* issuer, int nid, const QByteArray& value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.constData());
    if (!extension)
        return false;
    const bool added = X509_add_ext(cert, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

// A certificate for `key` named `commonName`, signed by `issuerKey` (itself when `issuer` is null).
Cert makeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, long serial,
    const QList<QPair<int, QByteArray>>& extensions)
{
    Cert cert(X509_new());
    if (!cert)
        return nullptr;
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_set_pubkey(cert.get(), key);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(cert.get()), "CN", MBSTRING_ASC,
        reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    for (const auto& [nid, value] : extensions) {
        if (!addExtension(cert.get(), signer, nid, value))
            return nullptr;
    }
    if (X509_sign(cert.get(), issuerKey, EVP_sha256()) <= 0)
        return nullptr;
    return cert;
}

}

struct TestCertificates::Private {
    Key authorityKey;
    Cert authority;
    Key serverKey;
    Cert server;
    std::unique_ptr<SSL_CTX, ContextFree> context;
};

TestCertificates::TestCertificates(const QString& folder, const QStringList& serverNames)
    : d(std::make_unique<Private>())
{
    d->authorityKey.reset(EVP_EC_gen("P-256"));
    d->serverKey.reset(EVP_EC_gen("P-256"));
    if (!d->authorityKey || !d->serverKey)
        return;
    d->authority = makeCertificate(d->authorityKey.get(), "Pelmora Test Authority", nullptr, d->authorityKey.get(), 1,
        {{NID_basic_constraints, "critical,CA:TRUE"}, {NID_key_usage, "critical,keyCertSign,cRLSign"},
            {NID_subject_key_identifier, "hash"}});
    if (!d->authority)
        return;
    d->server = makeCertificate(d->serverKey.get(), "Pelmora Test Server", d->authority.get(), d->authorityKey.get(), 2,
        {{NID_basic_constraints, "critical,CA:FALSE"}, {NID_key_usage, "critical,digitalSignature"},
            {NID_ext_key_usage, "serverAuth"}, {NID_subject_alt_name, serverNames.join(QLatin1Char(',')).toLatin1()},
            {NID_authority_key_identifier, "keyid:always"}});
    if (!d->server)
        return;

    const QString path = QDir(folder).filePath(QStringLiteral("test-authority.pem"));
    BIO* file = BIO_new_file(QFile::encodeName(path).constData(), "w");
    if (!file)
        return;
    const bool written = PEM_write_bio_X509(file, d->authority.get()) == 1;
    BIO_free(file);
    if (!written)
        return;

    d->context.reset(SSL_CTX_new(TLS_server_method()));
    if (!d->context || SSL_CTX_use_certificate(d->context.get(), d->server.get()) != 1
        || SSL_CTX_use_PrivateKey(d->context.get(), d->serverKey.get()) != 1) {
        d->context.reset();
        return;
    }
    m_authorityFile = path;
}

TestCertificates::~TestCertificates() = default;

bool TestCertificates::isValid() const
{
    return d->context && !m_authorityFile.isEmpty();
}

SSL_CTX* TestCertificates::serverContext() const
{
    return d->context.get();
}
