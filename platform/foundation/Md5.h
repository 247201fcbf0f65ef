// MD5 digests through OpenSSL.
#pragma once

#include <QByteArray>
#include <QString>

// The 32 lower-case hexadecimal characters of the MD5 digest of `bytes`.
QString md5Hex(const QByteArray& bytes);
