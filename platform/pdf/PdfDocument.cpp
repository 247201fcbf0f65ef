#include "platform/pdf/PdfDocument.h"

#include "platform/foundation/PlistFile.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

PdfDocument::PdfDocument()
    : m_qpdf(std::make_shared<QPDF>())
{
    m_qpdf->setSuppressWarnings(true);
}

namespace {

// Runs one of qpdf's process calls and sorts its failure: a password is needed, or anything else.
template <typename Process>
PdfDocument::OpenResult processSafely(Process process)
{
    try {
        process();
    } catch (const QPDFExc& e) {
        return e.getErrorCode() == qpdf_e_password ? PdfDocument::OpenResult::Locked
                                                   : PdfDocument::OpenResult::CannotOpen;
    } catch (const std::exception&) {
        return PdfDocument::OpenResult::CannotOpen;
    }
    return PdfDocument::OpenResult::Opened;
}

} // namespace

std::unique_ptr<PdfDocument> PdfDocument::open(const QString& path, OpenResult* result)
{
    std::unique_ptr<PdfDocument> document(new PdfDocument);
    const QByteArray name = QFile::encodeName(path);
    OpenResult outcome = processSafely([&] { document->m_qpdf->processFile(name.constData()); });
    if (result)
        *result = outcome;
    return outcome == OpenResult::Opened ? std::move(document) : nullptr;
}

std::unique_ptr<PdfDocument> PdfDocument::openBytes(const QByteArray& bytes, OpenResult* result)
{
    std::unique_ptr<PdfDocument> document(new PdfDocument);
    document->m_source = bytes;
    OpenResult outcome = processSafely([&] {
        document->m_qpdf->processMemoryFile("memory", document->m_source.constData(), size_t(document->m_source.size()));
    });
    if (result)
        *result = outcome;
    return outcome == OpenResult::Opened ? std::move(document) : nullptr;
}

std::unique_ptr<PdfDocument> PdfDocument::createEmpty()
{
    std::unique_ptr<PdfDocument> document(new PdfDocument);
    document->m_qpdf->emptyPDF();
    return document;
}

bool PdfDocument::isEncrypted()
{
    return m_qpdf->isEncrypted();
}

bool PdfDocument::allowsPrinting()
{
    return m_qpdf->allowPrintLowRes();
}

bool PdfDocument::hasInfo()
{
    return m_qpdf->getTrailer().getKey("/Info").isDictionary();
}

std::optional<QString> PdfDocument::infoText(const std::string& key)
{
    QPDFObjectHandle info = m_qpdf->getTrailer().getKey("/Info");
    if (!info.isDictionary())
        return std::nullopt;
    QPDFObjectHandle value = info.getKey(key);
    if (!value.isString())
        return std::nullopt;
    return QString::fromStdString(value.getUTF8Value());
}

void PdfDocument::setInfoText(const std::string& key, const QString& text)
{
    QPDFObjectHandle trailer = m_qpdf->getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = m_qpdf->makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    info.replaceKey(key, QPDFObjectHandle::newUnicodeString(text.toStdString()));
}

std::vector<QPDFPageObjectHelper> PdfDocument::pages()
{
    try {
        return QPDFPageDocumentHelper(*m_qpdf).getAllPages();
    } catch (const std::exception&) {
        return {};
    }
}

int PdfDocument::pageCount()
{
    return int(pages().size());
}

void PdfDocument::removePage(int index)
{
    std::vector<QPDFPageObjectHelper> all = pages();
    if (index < 0 || size_t(index) >= all.size())
        throw std::invalid_argument("page index out of range");
    QPDFPageDocumentHelper(*m_qpdf).removePage(all[size_t(index)]);
}

void PdfDocument::keepOnlyPage(int index)
{
    std::vector<QPDFPageObjectHelper> all = pages();
    if (index < 0 || size_t(index) >= all.size())
        throw std::invalid_argument("page index out of range");
    QPDFPageDocumentHelper helper(*m_qpdf);
    for (size_t i = 0; i < all.size(); ++i) {
        if (i != size_t(index))
            helper.removePage(all[i]);
    }
    // Resources shared with the removed pages would otherwise stay and count as this page's.
    all[size_t(index)].removeUnreferencedResources();
}

void PdfDocument::appendPage(QPDFPageObjectHelper page)
{
    QPDFPageDocumentHelper(*m_qpdf).addPage(page, false);
}

QByteArray PdfDocument::toBytes()
{
    try {
        QPDFWriter writer(*m_qpdf);
        writer.setOutputMemory();
        // Stream data passes through as stored: scanned JPEG pages are never decoded and re-encoded.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), qsizetype(buffer->getSize()));
    } catch (const std::exception&) {
        return {};
    }
}

bool PdfDocument::writeToFile(const QString& path, Durability durability)
{
    QByteArray bytes = toBytes();
    if (bytes.isEmpty())
        return false;
    return replaceFile(path, bytes, durability);
}

bool replaceFile(const QString& path, const QByteArray& bytes, PdfDocument::Durability durability)
{
    if (durability == PdfDocument::Durability::Durable)
        return writeFileAtomically(path, bytes);
    const QFileInfo target(path);
    if (target.isDir())
        return false;
    QTemporaryFile file(target.absolutePath() + QLatin1Char('/') + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

std::optional<double> pdfNumber(QPDFObjectHandle object)
{
    if (object.isInteger())
        return double(object.getIntValue());
    if (object.isReal())
        return object.getNumericValue();
    return std::nullopt;
}

bool pdfBoxSize(QPDFObjectHandle box, double& width, double& height)
{
    if (!box.isArray() || box.getArrayNItems() != 4)
        return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        std::optional<double> n = pdfNumber(box.getArrayItem(i));
        if (!n)
            return false;
        v[i] = *n;
    }
    width = v[2] - v[0];
    height = v[3] - v[1];
    return true;
}
