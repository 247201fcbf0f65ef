#include "app/images/ArrivingCardPreparation.h"

#include "app/core/Identifiers.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "platform/pdf/PdfDocument.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <algorithm>

namespace {

// A few threads keep ahead of the import's own; the rest of the machine recognises the cards.
constexpr int kMaxThreads = 4;

} // namespace

ArrivingCardPreparation::ArrivingCardPreparation(const QStringList& paths, const QString& databaseFolder, int inputType)
    : m_paths(paths), m_databaseFolder(databaseFolder), m_inputType(inputType), m_cards(size_t(paths.size())),
      m_taken(size_t(paths.size()), 0)
{
    const qsizetype threads = std::min<qsizetype>(paths.size(), std::clamp(QThread::idealThreadCount() / 2, 1, kMaxThreads));
    for (qsizetype i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

ArrivingCardPreparation::~ArrivingCardPreparation()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    for (std::thread& thread : m_threads)
        thread.join();
    const QDir images(cardImagesFolder(m_databaseFolder));
    for (size_t i = 0; i < m_cards.size(); ++i) {
        const std::optional<Card>& card = m_cards[i];
        if (m_taken[i] || !card || card->outcome != Card::Outcome::Imported)
            continue;
        QFile::remove(images.filePath(card->cardID + QLatin1String(kFrontSuffix)));
        if (card->pages > 1)
            QFile::remove(images.filePath(card->cardID + QLatin1String(kBackSuffix)));
    }
}

ArrivingCardPreparation::Card ArrivingCardPreparation::take(qsizetype index)
{
    std::unique_lock lock(m_mutex);
    m_ready.wait(lock, [&] { return m_cards[size_t(index)].has_value(); });
    m_taken[size_t(index)] = 1;
    return *m_cards[size_t(index)];
}

void ArrivingCardPreparation::work()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping && m_next < m_paths.size()) {
        const qsizetype index = m_next++;
        lock.unlock();
        Card card = prepare(m_paths.at(index));
        lock.lock();
        m_cards[size_t(index)] = std::move(card);
        m_ready.notify_all();
    }
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
        card.outcome = writeImportedCardFiles(card.cardID, path, *document, bytes, m_databaseFolder, m_inputType,
                                              PdfDocument::Durability::Staging, &card.pages) == 0
            ? Card::Outcome::Imported
            : Card::Outcome::NotImported;
    } catch (const std::exception&) {
        card.outcome = Card::Outcome::NotImported;
    }
    return card;
}
