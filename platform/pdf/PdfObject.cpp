#include "platform/pdf/PdfObject.h"

#include "platform/pdf/PdfBoundedData.h"
#include "platform/pdf/PdfHandles.h"
#include "platform/pdf/PdfLimits.h"

PdfObject::PdfObject()
    : m_handle(std::make_shared<const Handle>(Handle{QPDFObjectHandle::newNull()}))
{
}

PdfObject::PdfObject(std::shared_ptr<const Handle> handle)
    : m_handle(std::move(handle))
{
}

PdfObject::~PdfObject() = default;
PdfObject::PdfObject(const PdfObject&) = default;
PdfObject& PdfObject::operator=(const PdfObject&) = default;

bool PdfObject::isNull() const { return m_handle->object.isNull(); }
bool PdfObject::isBool() const { return m_handle->object.isBool(); }
bool PdfObject::boolValue() const { return m_handle->object.getBoolValue(); }
bool PdfObject::isInteger() const { return m_handle->object.isInteger(); }
long long PdfObject::intValue() const { return m_handle->object.getIntValue(); }
bool PdfObject::isName() const { return m_handle->object.isName(); }
std::string PdfObject::name() const { return m_handle->object.getName(); }
bool PdfObject::isName(const std::string& name) const { return m_handle->object.isNameAndEquals(name); }
bool PdfObject::isArray() const { return m_handle->object.isArray(); }
int PdfObject::arraySize() const { return m_handle->object.getArrayNItems(); }
PdfObject PdfObject::item(int index) const { return wrapObject(m_handle->object.getArrayItem(index)); }
bool PdfObject::isDictionary() const { return m_handle->object.isDictionary(); }
bool PdfObject::hasKey(const std::string& key) const { return m_handle->object.hasKey(key); }
PdfObject PdfObject::key(const std::string& key) const { return wrapObject(m_handle->object.getKey(key)); }
bool PdfObject::isStream() const { return m_handle->object.isStream(); }
PdfObject PdfObject::streamDictionary() const { return wrapObject(m_handle->object.getDict()); }

std::optional<double> PdfObject::number() const
{
    if (m_handle->object.isInteger())
        return double(m_handle->object.getIntValue());
    if (m_handle->object.isReal())
        return m_handle->object.getNumericValue();
    return std::nullopt;
}

std::vector<PdfObject> PdfObject::items() const
{
    std::vector<PdfObject> list;
    for (QPDFObjectHandle& item : m_handle->object.aitems())
        list.push_back(wrapObject(item));
    return list;
}

std::vector<std::pair<std::string, PdfObject>> PdfObject::entries() const
{
    std::vector<std::pair<std::string, PdfObject>> list;
    for (auto& [key, value] : m_handle->object.ditems())
        list.emplace_back(key, wrapObject(value));
    return list;
}

std::string PdfObject::streamData(Decoding decoding) const
{
    const qpdf_stream_decode_level_e level = decoding == Decoding::Raw ? qpdf_dl_none
        : decoding == Decoding::General                                  ? qpdf_dl_generalized
                                                                         : qpdf_dl_specialized;
    return boundedStreamData(m_handle->object, level, kMaxPdfDecodedBytes);
}

bool PdfObject::boxSize(double& width, double& height) const
{
    if (!isArray() || arraySize() != 4)
        return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        std::optional<double> n = item(i).number();
        if (!n)
            return false;
        v[i] = *n;
    }
    width = v[2] - v[0];
    height = v[3] - v[1];
    return true;
}

PdfPage::PdfPage(std::shared_ptr<Handle> handle)
    : m_handle(std::move(handle))
{
}

PdfPage::~PdfPage() = default;
PdfPage::PdfPage(const PdfPage&) = default;
PdfPage& PdfPage::operator=(const PdfPage&) = default;

PdfObject PdfPage::object() const
{
    return wrapObject(m_handle->page.getObjectHandle());
}

PdfObject PdfPage::attribute(const std::string& key) const
{
    return wrapObject(m_handle->page.getAttribute(key, false));
}

PdfObject PdfPage::mediaBox() const
{
    return wrapObject(m_handle->page.getMediaBox());
}

void PdfPage::rotate(int degrees)
{
    m_handle->page.rotatePage(degrees, true);
}

void PdfPage::removeRotation()
{
    m_handle->page.getObjectHandle().removeKey("/Rotate");
}

void PdfPage::removeUnreferencedResources()
{
    m_handle->page.removeUnreferencedResources();
}
