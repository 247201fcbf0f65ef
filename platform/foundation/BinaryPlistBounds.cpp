#include "platform/foundation/BinaryPlistBounds.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr qsizetype kHeaderSize = 8;
constexpr qsizetype kTrailerSize = 32;

struct Size {
    quint64 nodes = 0;
    quint64 bytes = 0;
    int depth = 0;
};

quint64 saturatingAdd(quint64 a, quint64 b)
{
    return a > ~quint64(0) - b ? ~quint64(0) : a + b;
}

class Walker {
public:
    explicit Walker(const QByteArray& bytes) : m_data(reinterpret_cast<const uchar*>(bytes.constData())), m_size(quint64(bytes.size())) {}

    bool run()
    {
        if (m_size < quint64(kHeaderSize + kTrailerSize)
            || std::char_traits<char>::compare(reinterpret_cast<const char*>(m_data), "bplist00", 8) != 0)
            return false;
        const uchar* trailer = m_data + m_size - kTrailerSize;
        m_offsetSize = trailer[6];
        m_refSize = trailer[7];
        const std::optional<quint64> count = number(trailer + 8, 8);
        const std::optional<quint64> root = number(trailer + 16, 8);
        m_table = number(trailer + 24, 8).value_or(~quint64(0));
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8 || !count || !root || *root >= *count)
            return false;
        // Every object takes at least one byte of the file, so the count is bounded by its size.
        if (*count > m_size || m_table >= m_size || (m_size - kTrailerSize - m_table) / m_offsetSize < *count)
            return false;
        m_count = *count;
        m_sizes.assign(size_t(m_count), std::nullopt);
        m_open.assign(size_t(m_count), false);
        const std::optional<Size> size = measure(*root, 0);
        return size && size->nodes <= BinaryPlistBounds::kMaxNodes && size->bytes <= BinaryPlistBounds::kMaxBytes
            && size->depth <= BinaryPlistBounds::kMaxDepth;
    }

private:
    std::optional<quint64> number(const uchar* at, int width) const
    {
        if (at < m_data || quint64(at - m_data) + quint64(width) > m_size)
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | at[i];
        return value;
    }

    // The length of an object whose marker's low half is `low`, read after the marker at `at`;
    // `at` moves past an extended length.
    std::optional<quint64> length(quint64& at, uchar low) const
    {
        if (low != 0xF)
            return low;
        const std::optional<quint64> marker = number(m_data + at, 1);
        if (!marker || (*marker & 0xF0) != 0x10 || (*marker & 0x0F) > 3)
            return std::nullopt;
        const int width = 1 << (*marker & 0x0F);
        const std::optional<quint64> value = number(m_data + at + 1, width);
        at += 1 + quint64(width);
        return value;
    }

    std::optional<Size> measure(quint64 index, int depth)
    {
        // Deeper than the limit is refused before the walk's own recursion could grow further.
        if (index >= m_count || depth > BinaryPlistBounds::kMaxDepth || m_open[size_t(index)])
            return std::nullopt;
        if (m_sizes[size_t(index)])
            return m_sizes[size_t(index)];
        const std::optional<quint64> offset = number(m_data + m_table + index * m_offsetSize, m_offsetSize);
        if (!offset || *offset < quint64(kHeaderSize) || *offset >= m_table)
            return std::nullopt;
        const uchar marker = m_data[*offset];
        const uchar type = marker >> 4;
        quint64 at = *offset + 1;
        Size size{1, 0, 1};
        if (type == 0x4 || type == 0x5 || type == 0x6) {
            const std::optional<quint64> count = length(at, marker & 0x0F);
            if (!count || *count > m_size)
                return std::nullopt;
            size.bytes = type == 0x6 ? *count * 2 : *count;
        } else if (type == 0xA || type == 0xC || type == 0xD) {
            const std::optional<quint64> count = length(at, marker & 0x0F);
            const quint64 refs = count && *count <= m_size ? (type == 0xD ? *count * 2 : *count) : ~quint64(0);
            if (refs == ~quint64(0) || at + refs * m_refSize > m_table)
                return std::nullopt;
            m_open[size_t(index)] = true;
            for (quint64 i = 0; i < refs; ++i) {
                const std::optional<Size> child = measure(*number(m_data + at + i * m_refSize, m_refSize), depth + 1);
                if (!child)
                    return std::nullopt;
                size.nodes = saturatingAdd(size.nodes, child->nodes);
                size.bytes = saturatingAdd(size.bytes, child->bytes);
                size.depth = std::max(size.depth, child->depth + 1);
                if (size.nodes > BinaryPlistBounds::kMaxNodes || size.bytes > BinaryPlistBounds::kMaxBytes)
                    return std::nullopt;
            }
            m_open[size_t(index)] = false;
        }
        m_sizes[size_t(index)] = size;
        return size;
    }

    const uchar* m_data;
    quint64 m_size;
    int m_offsetSize = 0;
    int m_refSize = 0;
    quint64 m_count = 0;
    quint64 m_table = 0;
    std::vector<std::optional<Size>> m_sizes;
    std::vector<bool> m_open;
};

} // namespace

bool BinaryPlistBounds::withinBounds(const QByteArray& bytes)
{
    return Walker(bytes).run();
}
