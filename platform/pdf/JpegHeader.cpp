#include "platform/pdf/JpegHeader.h"

#include <QFile>

#include <cstring>

namespace {

uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

bool isStartOfFrame(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isStandalone(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The resolution entries of an EXIF block (a TIFF header and its first directory).
class TiffReader {
public:
    TiffReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool readDensity(double& x, double& y)
    {
        if (m_size < 8)
            return false;
        if (std::memcmp(m_data, "II", 2) == 0)
            m_little = true;
        else if (std::memcmp(m_data, "MM", 2) != 0)
            return false;
        uint32_t ifd = u32(4);
        if (ifd < 8 || ifd > m_size - 2)
            return false;
        uint16_t count = u16(ifd);
        double rx = 0, ry = 0;
        int unit = 2;
        for (uint32_t i = 0; i < count; ++i) {
            size_t entry = size_t(ifd) + 2 + size_t(i) * 12;
            if (entry + 12 > m_size)
                return false;
            uint16_t tag = u16(entry);
            if (tag == 0x011A || tag == 0x011B) {
                uint32_t at = u32(entry + 8);
                if (at > m_size || m_size - at < 8)
                    return false;
                uint32_t num = u32(at), den = u32(at + 4);
                if (den == 0)
                    return false;
                (tag == 0x011A ? rx : ry) = double(num) / double(den);
            } else if (tag == 0x0128) {
                unit = u16(entry + 8);
            }
        }
        if (rx <= 0 || ry <= 0 || (unit != 2 && unit != 3))
            return false;
        double factor = unit == 3 ? 2.54 : 1.0;
        x = rx * factor;
        y = ry * factor;
        return true;
    }

private:
    uint16_t u16(size_t at) const
    {
        const uint8_t* p = m_data + at;
        return m_little ? uint16_t(p[1] << 8 | p[0]) : uint16_t(p[0] << 8 | p[1]);
    }
    uint32_t u32(size_t at) const
    {
        const uint8_t* p = m_data + at;
        return m_little ? uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]
                        : uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }

    const uint8_t* m_data;
    size_t m_size;
    bool m_little = false;
};

} // namespace

JpegHeaderStatus readJpegHeader(const uint8_t* data, size_t size, JpegHeader& header)
{
    header = JpegHeader();
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8)
        return JpegHeaderStatus::NotJpeg;
    bool frameSeen = false;
    size_t pos = 2;
    for (;;) {
        if (pos >= size || data[pos] != 0xFF)
            break;
        while (pos < size && data[pos] == 0xFF) // fill bytes before a marker
            ++pos;
        if (pos >= size)
            break;
        uint8_t marker = data[pos++];
        if (isStandalone(marker))
            continue;
        if (marker == 0xD9 || marker == 0xD8)
            break;
        if (size - pos < 2)
            return JpegHeaderStatus::Malformed;
        size_t length = be16(data + pos);
        if (length < 2 || length > size - pos)
            return JpegHeaderStatus::Malformed;
        const uint8_t* body = data + pos + 2;
        size_t bodySize = length - 2;
        pos += length;

        // A JFIF density wins over an EXIF one wherever it stands.
        if (marker == 0xFE && !header.hasComment) {
            header.hasComment = true;
            size_t end = 0;
            while (end < bodySize && body[end] != 0)
                ++end;
            header.comment = QByteArray(reinterpret_cast<const char*>(body), qsizetype(end));
        } else if (isStartOfFrame(marker) && !frameSeen) {
            if (bodySize < 6)
                return JpegHeaderStatus::Malformed;
            header.bitsPerSample = body[0];
            header.height = be16(body + 1);
            header.width = be16(body + 3);
            header.components = body[5];
            frameSeen = true;
        } else if (marker == 0xE0 && bodySize >= 12 && std::memcmp(body, "JFIF\0", 5) == 0) {
            int unit = body[7];
            int x = be16(body + 8), y = be16(body + 10);
            if ((unit == 1 || unit == 2) && x > 0 && y > 0) {
                double factor = unit == 2 ? 2.54 : 1.0;
                header.hasDensity = true;
                header.xDpi = x * factor;
                header.yDpi = y * factor;
            }
        } else if (marker == 0xE1 && bodySize >= 6 && std::memcmp(body, "Exif\0\0", 6) == 0
                   && !header.hasDensity) {
            double x = 0, y = 0;
            if (TiffReader(body + 6, bodySize - 6).readDensity(x, y)) {
                header.hasDensity = true;
                header.xDpi = x;
                header.yDpi = y;
            }
        } else if (marker == 0xEE && bodySize >= 5 && std::memcmp(body, "Adobe", 5) == 0) {
            header.adobe = true;
        } else if (marker == 0xDA) {
            break;
        }
    }
    return frameSeen ? JpegHeaderStatus::Complete : JpegHeaderStatus::NoFrame;
}

JpegHeaderStatus readJpegHeader(const QByteArray& bytes, JpegHeader& header)
{
    return readJpegHeader(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), header);
}

JpegHeaderStatus readJpegHeaderFromFile(const QString& path, JpegHeader& header, bool* readable)
{
    QFile file(path);
    bool opened = file.open(QIODevice::ReadOnly);
    if (readable)
        *readable = opened;
    if (!opened) {
        header = JpegHeader();
        return JpegHeaderStatus::NotJpeg;
    }
    qint64 size = file.size();
    if (size == 0)
        return readJpegHeader(nullptr, 0, header);
    const uchar* data = file.map(0, size);
    if (!data) {
        QByteArray bytes = file.readAll();
        return readJpegHeader(bytes, header);
    }
    JpegHeaderStatus status = readJpegHeader(data, size_t(size), header);
    file.unmap(const_cast<uchar*>(data));
    return status;
}
