#include "platform/pdf/PdfBoundedData.h"

#include "platform/pdf/PdfLimits.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

// Forms inside forms deeper than this are refused; a card's page draws its images directly.
constexpr int kMaxFormDepth = 8;

// The end of a decoding pipeline: counts, keeps the data when given a buffer, and throws once
// the data would pass the limit, which stops the decoders in front of it.
class BoundedSink : public Pipeline {
public:
    BoundedSink(std::size_t limit, std::string* data) : Pipeline("bounded data", nullptr), m_limit(limit), m_data(data) {}

    void write(unsigned char const* bytes, size_t length) override
    {
        if (length > m_limit - m_size) {
            m_overflowed = true;
            throw std::length_error("decoded data past its ceiling");
        }
        m_size += length;
        if (m_data)
            m_data->append(reinterpret_cast<const char*>(bytes), length);
    }
    void finish() override {}

    bool overflowed() const { return m_overflowed; }
    std::size_t size() const { return m_size; }

private:
    const std::size_t m_limit;
    std::string* m_data;
    std::size_t m_size = 0;
    bool m_overflowed = false;
};

enum class Undecodable { Refused, AsStored };

// Pipes the stream into `sink`; false when it decodes past the sink's limit or fails. A stream
// whose filters go beyond `level` is refused, or piped as stored.
bool pipeBounded(QPDFObjectHandle stream, qpdf_stream_decode_level_e level, BoundedSink& sink,
                 Undecodable undecodable = Undecodable::Refused)
{
    bool filtered = false;
    bool piped = false;
    try {
        piped = stream.pipeStreamData(&sink, &filtered, 0, level, true);
    } catch (const std::exception&) {
        piped = false;
    }
    return piped && !sink.overflowed() && (level == qpdf_dl_none || filtered || undecodable == Undecodable::AsStored);
}

std::vector<QPDFObjectHandle> contentStreams(QPDFObjectHandle contents)
{
    if (contents.isStream())
        return {contents};
    std::vector<QPDFObjectHandle> streams;
    if (contents.isArray()) {
        for (QPDFObjectHandle& item : contents.aitems()) {
            if (item.isStream())
                streams.push_back(item);
        }
    }
    return streams;
}

// An image's masks are checked with it, but not masks of masks (a mask may name itself).
bool imageWithinCeiling(QPDFObjectHandle image, std::size_t& budget, bool withMasks)
{
    QPDFObjectHandle dict = image.getDict();
    QPDFObjectHandle width = dict.getKey("/Width");
    QPDFObjectHandle height = dict.getKey("/Height");
    // Whatever draws the image makes a bitmap of its declared size, whatever its data holds.
    if (width.isInteger() && height.isInteger()) {
        const long long w = width.getIntValue();
        const long long h = height.getIntValue();
        if (w <= 0 || h <= 0 || w > 65535 || h > 65535 || std::size_t(w) * std::size_t(h) * 4 > kMaxPdfDecodedBytes)
            return false;
    }
    BoundedSink sink(std::min(budget, kMaxPdfDecodedBytes), nullptr);
    // Image filters (JPEG and the like) are counted as stored: their decoded size is the declared one.
    if (!pipeBounded(image, qpdf_dl_generalized, sink, Undecodable::AsStored))
        return false;
    budget -= sink.size();
    if (!withMasks)
        return true;
    for (const char* mask : {"/SMask", "/Mask"}) {
        QPDFObjectHandle stream = dict.getKey(mask);
        if (stream.isStream() && !imageWithinCeiling(stream, budget, false))
            return false;
    }
    return true;
}

bool resourcesWithinCeiling(QPDFObjectHandle resources, int depth, std::set<QPDFObjGen>& visited, std::size_t& budget)
{
    if (!resources.isDictionary())
        return true;
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    if (!xobjects.isDictionary())
        return true;
    for (auto& [name, xobject] : xobjects.ditems()) {
        if (!xobject.isStream())
            continue;
        // A stream met again (a form naming itself, an image drawn twice) is decoded once.
        if (xobject.isIndirect() && !visited.insert(xobject.getObjGen()).second)
            continue;
        QPDFObjectHandle subtype = xobject.getDict().getKey("/Subtype");
        if (subtype.isNameAndEquals("/Form")) {
            if (depth >= kMaxFormDepth)
                return false;
            BoundedSink sink(std::min(budget, kMaxPdfContentBytes), nullptr);
            if (!pipeBounded(xobject, qpdf_dl_generalized, sink))
                return false;
            budget -= sink.size();
            if (!resourcesWithinCeiling(xobject.getDict().getKey("/Resources"), depth + 1, visited, budget))
                return false;
        } else if (!imageWithinCeiling(xobject, budget, true)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string boundedStreamData(QPDFObjectHandle stream, qpdf_stream_decode_level_e level, std::size_t limit)
{
    BoundedSink counter(limit, nullptr);
    if (!pipeBounded(stream, level, counter)) {
        if (counter.overflowed())
            throw std::length_error("stream data past its ceiling");
        throw std::runtime_error("stream data cannot be decoded");
    }
    std::string data;
    data.reserve(counter.size());
    BoundedSink keeper(counter.size(), &data);
    if (!pipeBounded(stream, level, keeper))
        throw std::runtime_error("stream data changed between two readings");
    return data;
}

bool contentWithinCeiling(QPDFObjectHandle contents)
{
    BoundedSink sink(kMaxPdfContentBytes, nullptr);
    for (QPDFObjectHandle& stream : contentStreams(contents)) {
        if (!pipeBounded(stream, qpdf_dl_specialized, sink))
            return false;
    }
    return true;
}

bool pageWithinCeiling(QPDFObjectHandle page)
{
    if (!contentWithinCeiling(page.getKey("/Contents")))
        return false;
    std::set<QPDFObjGen> visited;
    // Everything a render decodes, together: twice what one stream may hold.
    std::size_t budget = 2 * kMaxPdfDecodedBytes;
    QPDFPageObjectHelper helper(page);
    return resourcesWithinCeiling(helper.getAttribute("/Resources", false), 0, visited, budget);
}
