// A request from a second launch to the running instance, and its wire form:
// a 4-byte little-endian length, then the kind byte and its fields. Paths travel as raw bytes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct InstanceRequest {
    enum class Kind : quint8 { Activate = 1, OpenFiles = 2, SearchText = 3 };

    Kind kind = Kind::Activate;
    QList<QByteArray> paths; // absolute, as the file system names them
    QString text;            // for SearchText

    bool operator==(const InstanceRequest&) const = default;
};

// The largest frame either side accepts: room for thousands of long paths.
constexpr quint32 kInstanceFrameLimit = 32u * 1024u * 1024u;

QByteArray encodeInstanceRequest(const InstanceRequest& request);
// Decodes a frame's payload (without its length prefix); false on anything malformed.
bool decodeInstanceRequest(const QByteArray& payload, InstanceRequest& out);
