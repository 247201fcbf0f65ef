#include "outside/ocr/PostalCodeDirectory.h"

#include <QRegularExpression>

#include <algorithm>
#include <iconv.h>
#include <string_view>

namespace {

// The dictionary is written in EUC-JIS-2004.
QString fromDictionaryText(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    iconv_t cd = ::iconv_open("UTF-8", "EUC-JISX0213");
    if (cd == iconv_t(-1))
        return {};
    std::string in(bytes);
    std::string out(in.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t left = in.size();
    size_t room = out.size();
    const bool ok = ::iconv(cd, &src, &left, &dst, &room) != size_t(-1);
    ::iconv_close(cd);
    return ok ? QString::fromUtf8(out.data(), qsizetype(out.size() - room)) : QString();
}

} // namespace

PostalCodeDirectory::PostalCodeDirectory(const QString& path) : m_file(path)
{
}

bool PostalCodeDirectory::open()
{
    if (!m_tried) {
        m_tried = true;
        if (m_file.open(QIODevice::ReadOnly)) {
            m_size = m_file.size();
            m_data = m_file.map(0, m_size);
        }
    }
    return m_data;
}

QStringList PostalCodeDirectory::placesOf(const QString& code)
{
    if (code.size() != 7 || !std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }) || !open())
        return {};
    const std::string_view text(reinterpret_cast<const char*>(m_data), size_t(m_size));
    const std::string key = code.toStdString() + ' ';
    // Entries are lines "3691305 /埼玉県秩父郡長瀞町長瀞/" in the order of their codes, after comment
    // lines that start with ';'.
    const auto lineStart = [&](size_t at) {
        const size_t nl = at == 0 ? std::string_view::npos : text.rfind('\n', at - 1);
        return nl == std::string_view::npos ? size_t(0) : nl + 1;
    };
    size_t low = 0;
    size_t high = text.size();
    while (low < high) {
        const size_t start = lineStart(low + (high - low) / 2);
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (line.rfind(key, 0) == 0) {
            QStringList places;
            for (const QString& place : fromDictionaryText(line.substr(key.size())).split(u'/', Qt::SkipEmptyParts))
                places.append(place);
            return places;
        }
        if (line.empty() || line.front() == ';' || line.substr(0, key.size()) < key)
            low = end + 1;
        else
            high = start;
    }
    return {};
}

QString PostalCodeDirectory::codeOfPlace(const QString& line)
{
    if (!m_indexed) {
        m_indexed = true;
        if (!open())
            return {};
        // Each place under its code, with and without its prefecture; the codes of whole
        // municipalities ("9500000") name no district and are left out.
        static const QRegularExpression prefecture(QStringLiteral("^(?:北海道|東京都|..府|..県|...県)"));
        const QString text = fromDictionaryText(std::string_view(reinterpret_cast<const char*>(m_data), size_t(m_size)));
        for (QStringView entry : QStringView(text).split(u'\n')) {
            if (entry.size() < 10 || entry.front() == u';' || entry.mid(3, 4) == u"0000")
                continue;
            const QString code = entry.left(7).toString();
            for (QStringView place : entry.mid(8).split(u'/', Qt::SkipEmptyParts)) {
                const QString whole = place.toString();
                const auto m = prefecture.match(whole);
                for (const QString& key : {whole, m.hasMatch() ? whole.mid(m.capturedLength()) : QString()}) {
                    if (key.size() < 3)
                        continue;
                    const auto it = m_codeOfPlace.constFind(key);
                    m_codeOfPlace.insert(key, it == m_codeOfPlace.constEnd() || *it == code ? code : QString());
                }
            }
        }
    }
    for (qsizetype length = std::min<qsizetype>(line.size(), 30); length >= 3; --length) {
        const auto it = m_codeOfPlace.constFind(line.left(length));
        if (it != m_codeOfPlace.constEnd())
            return *it;
    }
    return {};
}
