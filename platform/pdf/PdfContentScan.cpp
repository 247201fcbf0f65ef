#include "platform/pdf/PdfContentScan.h"

#include "platform/pdf/PdfBoundedData.h"
#include "platform/pdf/PdfHandles.h"

namespace {

// No operator takes more operands than this; a run of operands without one is refused before it
// holds the memory of the whole content.
constexpr std::size_t kMaxOperands = 256;

class OperatorCollector : public QPDFObjectHandle::ParserCallbacks {
public:
    explicit OperatorCollector(const PdfOperatorHandler& handler) : m_handler(handler) {}

    void handleObject(QPDFObjectHandle object) override
    {
        if (object.isOperator()) {
            m_handler(object.getOperatorValue(), m_operands);
            m_operands.clear();
        } else if (m_operands.size() < kMaxOperands) {
            m_operands.push_back(wrapObject(object));
        } else {
            terminateParsing();
        }
    }
    void handleEOF() override { m_reachedEnd = true; }

    bool reachedEnd() const { return m_reachedEnd; }

private:
    const PdfOperatorHandler& m_handler;
    std::vector<PdfObject> m_operands;
    bool m_reachedEnd = false;
};

} // namespace

bool scanPageContents(const PdfPage& page, const PdfOperatorHandler& handler)
{
    OperatorCollector collector(handler);
    try {
        // The content is decoded once only counting: past the ceiling it is never parsed.
        if (!contentWithinCeiling(page.handle().page.getObjectHandle().getKey("/Contents")))
            return false;
        page.handle().page.parseContents(&collector);
    } catch (const std::exception&) {
        return false;
    }
    return collector.reachedEnd();
}
