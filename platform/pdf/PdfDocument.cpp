#include "platform/pdf/PdfDocument.h"

#include "platform/foundation/FileModes.h"
#include "platform/foundation/TemporaryWrite.h"
#include "platform/pdf/JpegHeader.h"
#include "platform/pdf/PdfHandles.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

struct PdfDocument::Private {
    QPDF qpdf;
    QByteArray source; // keeps the bytes of openBytes alive while qpdf reads them
};

PdfDocument::PdfDocument()
    : d(std::make_unique<Private>())
{
    d->qpdf.setSuppressWarnings(true);
}

PdfDocument::~PdfDocument() = default;

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
    OpenResult outcome = processSafely([&] { document->d->qpdf.processFile(name.constData()); });
    if (result)
        *result = outcome;
    return outcome == OpenResult::Opened ? std::move(document) : nullptr;
}

std::unique_ptr<PdfDocument> PdfDocument::openBytes(const QByteArray& bytes, OpenResult* result)
{
    std::unique_ptr<PdfDocument> document(new PdfDocument);
    document->d->source = bytes;
    OpenResult outcome = processSafely([&] {
        document->d->qpdf.processMemoryFile("memory", document->d->source.constData(), size_t(document->d->source.size()));
    });
    if (result)
        *result = outcome;
    return outcome == OpenResult::Opened ? std::move(document) : nullptr;
}

std::unique_ptr<PdfDocument> PdfDocument::createEmpty()
{
    std::unique_ptr<PdfDocument> document(new PdfDocument);
    document->d->qpdf.emptyPDF();
    return document;
}

bool PdfDocument::isEncrypted()
{
    return d->qpdf.isEncrypted();
}

bool PdfDocument::allowsPrinting()
{
    return d->qpdf.allowPrintLowRes();
}

bool PdfDocument::hasInfo()
{
    return d->qpdf.getTrailer().getKey("/Info").isDictionary();
}

std::optional<QString> PdfDocument::infoText(const std::string& key)
{
    QPDFObjectHandle info = d->qpdf.getTrailer().getKey("/Info");
    if (!info.isDictionary())
        return std::nullopt;
    QPDFObjectHandle value = info.getKey(key);
    if (!value.isString())
        return std::nullopt;
    return QString::fromStdString(value.getUTF8Value());
}

void PdfDocument::setInfoText(const std::string& key, const QString& text)
{
    QPDFObjectHandle trailer = d->qpdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = d->qpdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    info.replaceKey(key, QPDFObjectHandle::newUnicodeString(text.toStdString()));
}

PdfObject PdfDocument::catalog()
{
    return wrapObject(d->qpdf.getRoot());
}

std::vector<PdfPage> PdfDocument::pages()
{
    std::vector<PdfPage> list;
    try {
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(d->qpdf).getAllPages())
            list.push_back(wrapPage(page));
    } catch (const std::exception&) {
        return {};
    }
    return list;
}

int PdfDocument::pageCount()
{
    return int(pages().size());
}

void PdfDocument::removePage(int index)
{
    std::vector<PdfPage> all = pages();
    if (index < 0 || size_t(index) >= all.size())
        throw std::invalid_argument("page index out of range");
    QPDFPageDocumentHelper(d->qpdf).removePage(all[size_t(index)].handle().page);
}

void PdfDocument::keepOnlyPage(int index)
{
    std::vector<PdfPage> all = pages();
    if (index < 0 || size_t(index) >= all.size())
        throw std::invalid_argument("page index out of range");
    QPDFPageDocumentHelper helper(d->qpdf);
    for (size_t i = 0; i < all.size(); ++i) {
        if (i != size_t(index))
            helper.removePage(all[i].handle().page);
    }
    // Resources shared with the removed pages would otherwise stay and count as this page's.
    all[size_t(index)].removeUnreferencedResources();
}

void PdfDocument::appendPage(const PdfPage& page)
{
    QPDFPageDocumentHelper(d->qpdf).addPage(page.handle().page, false);
}

void PdfDocument::appendJpegPage(const QByteArray& jpeg, const JpegHeader& header, long long width, long long height)
{
    QPDF& q = d->qpdf;
    QPDFObjectHandle image = q.newStream();
    image.replaceStreamData(std::string(jpeg.constData(), size_t(jpeg.size())), QPDFObjectHandle::newName("/DCTDecode"),
                            QPDFObjectHandle::newNull());
    QPDFObjectHandle dict = image.getDict();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(header.width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(header.height));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
    const char* space = header.components == 1 ? "/DeviceGray" : header.components == 3 ? "/DeviceRGB" : "/DeviceCMYK";
    dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName(space));
    if (header.components == 4 && header.adobe)
        dict.replaceKey("/Decode", QPDFObjectHandle::parse("[1 0 1 0 1 0 1 0]"));

    const std::string w = std::to_string(width), h = std::to_string(height);
    QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    page.replaceKey("/MediaBox", QPDFObjectHandle::parse("[0 0 " + w + " " + h + "]"));
    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
    xobjects.replaceKey("/Im0", image);
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", q.newStream("q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q"));
    QPDFPageDocumentHelper(q).addPage(QPDFPageObjectHelper(q.makeIndirectObject(page)), false);
}

bool PdfDocument::drawPageUnder(int index, PdfDocument& source, const std::string& formName)
{
    QPDFPageObjectHelper target = pages().at(size_t(index)).handle().page;
    QPDFPageObjectHelper from = source.pages().at(0).handle().page;
    QPDFObjectHandle form = d->qpdf.copyForeignObject(from.getFormXObjectForPage());
    QPDFObjectHandle resources = target.getAttribute("/Resources", true);
    if (!resources.isDictionary())
        return false;
    if (!resources.getKey("/XObject").isDictionary())
        resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
    resources.getKey("/XObject").replaceKey("/" + formName, form);
    target.addPageContents(d->qpdf.newStream("q /" + formName + " Do Q\n"), true);
    return true;
}

QByteArray PdfDocument::toBytes()
{
    try {
        QPDFWriter writer(d->qpdf);
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
        return writeThroughTemporary(path, bytes);
    const QFileInfo target(path);
    if (target.isDir())
        return false;
    QTemporaryFile file(target.absolutePath() + QLatin1Char('/') + target.fileName() + QStringLiteral(".XXXXXX"));
    const QByteArray native = QFile::encodeName(path);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush() || !setReplacingMode(file.handle(), native, newFileMode()))
        return false;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), native.constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}
