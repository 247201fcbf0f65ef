#include "platform/pdf/PdfContentScan.h"

#include "platform/pdf/PdfHandles.h"

namespace {

class OperatorCollector : public QPDFObjectHandle::ParserCallbacks {
public:
    explicit OperatorCollector(const PdfOperatorHandler& handler) : m_handler(handler) {}

    void handleObject(QPDFObjectHandle object) override
    {
        if (object.isOperator()) {
            m_handler(object.getOperatorValue(), m_operands);
            m_operands.clear();
        } else {
            m_operands.push_back(wrapObject(object));
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
        page.handle().page.parseContents(&collector);
    } catch (const std::exception&) {
        return false;
    }
    return collector.reachedEnd();
}
