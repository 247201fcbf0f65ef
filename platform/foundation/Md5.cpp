#include "platform/foundation/Md5.h"

#include <openssl/evp.h>

QString md5Hex(const QByteArray& bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.constData(), static_cast<size_t>(bytes.size()), digest, &length, EVP_md5(), nullptr) != 1)
        return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)).toHex());
}
