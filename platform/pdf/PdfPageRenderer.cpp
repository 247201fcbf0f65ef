#include "platform/pdf/PdfPageRenderer.h"

#include "platform/pdf/PdfBoundedData.h"
#include "platform/pdf/PdfHandles.h"
#include "platform/pdf/PdfLimits.h"

#include <QPainter>

std::unique_ptr<PdfPageRenderer> PdfPageRenderer::openFile(const QString& path)
{
    std::unique_ptr<PdfPageRenderer> renderer(new PdfPageRenderer);
    renderer->m_document = std::make_unique<QPdfDocument>();
    if (renderer->m_document->load(path) != QPdfDocument::Error::None)
        return nullptr;
    renderer->m_structure = PdfDocument::open(path);
    return renderer;
}

std::unique_ptr<PdfPageRenderer> PdfPageRenderer::openBytes(const QByteArray& bytes)
{
    std::unique_ptr<PdfPageRenderer> renderer(new PdfPageRenderer);
    renderer->m_bytes = bytes;
    renderer->m_buffer = std::make_unique<QBuffer>(&renderer->m_bytes);
    if (!renderer->m_buffer->open(QIODevice::ReadOnly))
        return nullptr;
    renderer->m_document = std::make_unique<QPdfDocument>();
    renderer->m_document->load(renderer->m_buffer.get());
    if (renderer->m_document->status() != QPdfDocument::Status::Ready)
        return nullptr;
    renderer->m_structure = PdfDocument::openBytes(bytes);
    return renderer;
}

int PdfPageRenderer::pageCount() const
{
    return m_document->pageCount();
}

QSizeF PdfPageRenderer::pagePointSize(int page) const
{
    return m_document->pagePointSize(page);
}

QImage PdfPageRenderer::render(int page, const QSize& pixelSize) const
{
    if (page < 0 || page >= m_document->pageCount() || pixelSize.isEmpty())
        return {};
    if (qint64(pixelSize.width()) * pixelSize.height() * 4 > qint64(kMaxPdfDecodedBytes) || !pageWithinCeiling(page))
        return {};
    QImage drawn = m_document->render(page, pixelSize);
    if (drawn.isNull() || drawn.size() != pixelSize)
        return {};
    QImage paper(pixelSize, QImage::Format_ARGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, drawn);
    painter.end();
    return paper;
}

bool PdfPageRenderer::pageWithinCeiling(int page) const
{
    if (!m_structure)
        return false;
    try {
        const std::vector<PdfPage> pages = m_structure->pages();
        return size_t(page) < pages.size() && ::pageWithinCeiling(pages[size_t(page)].handle().page.getObjectHandle());
    } catch (const std::exception&) {
        return false;
    }
}
