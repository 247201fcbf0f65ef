#include "platform/foundation/PlistFile.h"

#include "platform/foundation/BinaryPlistBounds.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <plist/plist.h>

#include <cstdlib>
#include <memory>

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01 UTC).
constexpr int64_t kPlistEpochOffset = 978307200;

struct PlistDeleter {
    void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};
using PlistHolder = std::unique_ptr<void, PlistDeleter>;

PlistValue fromNode(plist_t node, int depth)
{
    if (!node || depth > 512)
        return {};
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return PlistValue(b != 0);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return PlistValue(static_cast<int64_t>(v));
    }
    case PLIST_UID: {
        uint64_t v = 0;
        plist_get_uid_val(node, &v);
        return PlistValue(static_cast<int64_t>(v));
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return PlistValue(v);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        char* s = nullptr;
        if (plist_get_node_type(node) == PLIST_STRING)
            plist_get_string_val(node, &s);
        else
            plist_get_key_val(node, &s);
        QString text = QString::fromUtf8(s ? s : "");
        free(s);
        return PlistValue(text);
    }
    case PLIST_DATA: {
        char* d = nullptr;
        uint64_t len = 0;
        plist_get_data_val(node, &d, &len);
        QByteArray bytes(d ? d : "", d ? static_cast<qsizetype>(len) : 0);
        free(d);
        return PlistValue(bytes);
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        qint64 ms = (static_cast<qint64>(sec) + kPlistEpochOffset) * 1000 + usec / 1000;
        return PlistValue(QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()));
    }
    case PLIST_ARRAY: {
        PlistValue::Array arr;
        uint32_t n = plist_array_get_size(node);
        arr.reserve(n);
        for (uint32_t i = 0; i < n; ++i)
            arr.append(fromNode(plist_array_get_item(node, i), depth + 1));
        return PlistValue(arr);
    }
    case PLIST_DICT: {
        PlistValue::Dictionary dict;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        while (it) {
            char* key = nullptr;
            plist_t val = nullptr;
            plist_dict_next_item(node, it, &key, &val);
            if (!key)
                break;
            dict.insert(QString::fromUtf8(key), fromNode(val, depth + 1));
            free(key);
        }
        free(it);
        return PlistValue(dict);
    }
    default:
        return {};
    }
}

plist_t toNode(const PlistValue& v)
{
    switch (v.type()) {
    case PlistValue::Type::Null:
        return plist_new_string("");
    case PlistValue::Type::Boolean:
        return plist_new_bool(v.toBool() ? 1 : 0);
    case PlistValue::Type::Integer:
        return plist_new_uint(static_cast<uint64_t>(v.toInteger()));
    case PlistValue::Type::Real:
        return plist_new_real(v.toReal());
    case PlistValue::Type::String:
        return plist_new_string(v.toString().toUtf8().constData());
    case PlistValue::Type::Data: {
        QByteArray d = v.toData();
        return plist_new_data(d.constData(), static_cast<uint64_t>(d.size()));
    }
    case PlistValue::Type::Date: {
        qint64 ms = v.toDate().toMSecsSinceEpoch() - kPlistEpochOffset * 1000;
        qint64 sec = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
        qint64 usec = (ms - sec * 1000) * 1000;
        return plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>(usec));
    }
    case PlistValue::Type::Array: {
        plist_t arr = plist_new_array();
        for (const PlistValue& item : v.toArray())
            plist_array_append_item(arr, toNode(item));
        return arr;
    }
    case PlistValue::Type::Dictionary: {
        plist_t dict = plist_new_dict();
        const auto d = v.toDictionary();
        for (auto it = d.constBegin(); it != d.constEnd(); ++it)
            plist_dict_set_item(dict, it.key().toUtf8().constData(), toNode(it.value()));
        return dict;
    }
    }
    return plist_new_string("");
}

} // namespace

bool parsePlist(const QByteArray& bytes, PlistValue& out, PlistFormat* format)
{
    out = PlistValue();
    if (bytes.isEmpty() || bytes.size() > kMaxPlistBytes)
        return false;
    const auto length = static_cast<uint32_t>(bytes.size());
    const bool binary = plist_is_binary(bytes.constData(), length) != 0;
    // A binary list that would read into more than the limits allow is refused unread.
    if (binary && !BinaryPlistBounds::withinBounds(bytes))
        return false;
    // XML allows no NUL character; the library would keep one inside a string and then abort
    // the process when the string is read.
    if (!binary && bytes.contains('\0'))
        return false;
    plist_t root = nullptr;
    if (binary)
        plist_from_bin(bytes.constData(), length, &root);
    else
        plist_from_xml(bytes.constData(), length, &root);
    if (!root)
        return false;
    PlistHolder holder(root);
    out = fromNode(root, 0);
    if (format)
        *format = binary ? PlistFormat::Binary : PlistFormat::Xml;
    return true;
}

QByteArray serializePlist(const PlistValue& value, PlistFormat format)
{
    PlistHolder root(toNode(value));
    char* buffer = nullptr;
    uint32_t length = 0;
    if (format == PlistFormat::Binary)
        plist_to_bin(static_cast<plist_t>(root.get()), &buffer, &length);
    else
        plist_to_xml(static_cast<plist_t>(root.get()), &buffer, &length);
    QByteArray bytes(buffer ? buffer : "", buffer ? static_cast<qsizetype>(length) : 0);
    if (format == PlistFormat::Binary)
        plist_to_bin_free(buffer);
    else
        plist_to_xml_free(buffer);
    return bytes;
}

bool readPlistFile(const QString& path, PlistValue& out, PlistFormat* format)
{
    out = PlistValue();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPlistBytes)
        return false;
    return parsePlist(file.read(kMaxPlistBytes + 1), out, format);
}

bool replaceSettingsFile(const QString& path, const QByteArray& bytes)
{
    // A file kept as a link to one elsewhere (a settings folder under version control) is
    // replaced where the link leads, and the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    removeTemporaryLeftovers(QFileInfo(target).path());
    return writeThroughTemporary(target, bytes, "settings-file-written");
}

bool writePlistFile(const QString& path, const PlistValue& value, PlistFormat format)
{
    QByteArray bytes = serializePlist(value, format);
    if (bytes.isEmpty())
        return false;
    return replaceSettingsFile(path, bytes);
}
