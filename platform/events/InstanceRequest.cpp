#include "platform/events/InstanceRequest.h"

#include <QtEndian>

namespace {

void appendU32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

bool readU32(const QByteArray& in, qsizetype& pos, quint32& value)
{
    if (in.size() - pos < 4)
        return false;
    value = qFromLittleEndian<quint32>(in.constData() + pos);
    pos += 4;
    return true;
}

bool readBytes(const QByteArray& in, qsizetype& pos, QByteArray& value)
{
    quint32 length = 0;
    if (!readU32(in, pos, length) || static_cast<quint64>(in.size() - pos) < length)
        return false;
    value = in.mid(pos, length);
    pos += length;
    return true;
}

} // namespace

QByteArray encodeInstanceRequest(const InstanceRequest& request)
{
    QByteArray payload;
    payload.append(static_cast<char>(request.kind));
    switch (request.kind) {
    case InstanceRequest::Kind::Activate:
        break;
    case InstanceRequest::Kind::OpenFiles:
        appendU32(payload, static_cast<quint32>(request.paths.size()));
        for (const QByteArray& path : request.paths) {
            appendU32(payload, static_cast<quint32>(path.size()));
            payload.append(path);
        }
        break;
    case InstanceRequest::Kind::SearchText: {
        const QByteArray text = request.text.toUtf8();
        appendU32(payload, static_cast<quint32>(text.size()));
        payload.append(text);
        break;
    }
    }
    QByteArray frame;
    appendU32(frame, static_cast<quint32>(payload.size()));
    return frame + payload;
}

bool decodeInstanceRequest(const QByteArray& payload, InstanceRequest& out)
{
    out = InstanceRequest();
    if (payload.isEmpty())
        return false;
    qsizetype pos = 1;
    switch (static_cast<quint8>(payload.at(0))) {
    case static_cast<quint8>(InstanceRequest::Kind::Activate):
        out.kind = InstanceRequest::Kind::Activate;
        break;
    case static_cast<quint8>(InstanceRequest::Kind::OpenFiles): {
        out.kind = InstanceRequest::Kind::OpenFiles;
        quint32 count = 0;
        if (!readU32(payload, pos, count) || count > static_cast<quint32>(payload.size()))
            return false;
        for (quint32 i = 0; i < count; ++i) {
            QByteArray path;
            if (!readBytes(payload, pos, path) || !path.startsWith('/') || path.contains('\0'))
                return false;
            out.paths.append(path);
        }
        break;
    }
    case static_cast<quint8>(InstanceRequest::Kind::SearchText): {
        out.kind = InstanceRequest::Kind::SearchText;
        QByteArray text;
        if (!readBytes(payload, pos, text))
            return false;
        out.text = QString::fromUtf8(text);
        break;
    }
    default:
        return false;
    }
    return pos == payload.size();
}
