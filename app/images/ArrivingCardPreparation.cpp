#include "app/images/ArrivingCardPreparation.h"

#include "app/core/Identifiers.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "platform/pdf/PdfDocument.h"

#include <QFile>
#include <QThread>

#include <algorithm>

namespace {

// A few threads keep ahead of the import's own; the rest of the machine recognises the cards.
constexpr int kMaxThreads = 4;
// How far they go past the card being made: the files of cards not made yet are few.
constexpr size_t kAhead = 64;

} // namespace

ArrivingCardPreparation::ArrivingCardPreparation(const QStringList& paths, const QString& databaseFolder, int inputType)
    : m_paths(paths), m_databaseFolder(databaseFolder), m_inputType(inputType),
      m_work(size_t(paths.size()), std::clamp(QThread::idealThreadCount() / 2, 1, kMaxThreads), kAhead,
             [this](size_t index) { return prepare(m_paths.at(qsizetype(index))); })
{
}

ArrivingCardPreparation::~ArrivingCardPreparation()
{
    for (const Card& card : m_work.finish()) {
        if (card.outcome != Card::Outcome::Imported)
            continue;
        for (const QString& written : importedCardFilePaths(m_databaseFolder, card.cardID, card.pages))
            QFile::remove(written);
    }
}

ArrivingCardPreparation::Card ArrivingCardPreparation::take(qsizetype index)
{
    return m_work.take(size_t(index));
}

ArrivingCardPreparation::Card ArrivingCardPreparation::prepare(const QString& path) const
{
    Card card;
    try {
        // Each file is read and parsed once, for its check, its Creator, its copy and its pages.
        QFile file(path);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const std::unique_ptr<PdfDocument> document = bytes.isEmpty() ? nullptr : PdfDocument::openBytes(bytes);
        if (!document || checkPdfDocument(*document, nullptr) != kPdfCard)
            return card;
        card.creator = document->infoText("/Creator");
        card.cardID = getUUID();
        if (writeImportedCardFiles(card.cardID, path, *document, bytes, m_databaseFolder, m_inputType,
                                   PdfDocument::Durability::Staging, &card.pages) != 0) {
            card.outcome = Card::Outcome::NotImported;
            return card;
        }
        for (const QString& written : importedCardFilePaths(m_databaseFolder, card.cardID, card.pages))
            CardFileBatch::startWriteback(written);
        card.outcome = Card::Outcome::Imported;
    } catch (const std::exception&) {
        card.outcome = Card::Outcome::NotImported;
    }
    return card;
}
