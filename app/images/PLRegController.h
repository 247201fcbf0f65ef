// The recognition controller: sends card images to the OCR application, maps the reply's
// field slots into card dictionaries (names, readings, company and address split through the
// separation libraries) and writes them into the cards.
#pragma once

#include "app/images/CardRecord.h"
#include "platform/store/ManagedObject.h"

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class RecognitionImages;
class RecognitionPendingRun;
struct RecognitionCardJob;
struct RecognitionRunSetup;

class PLRegController {
public:
    PLRegController() = default;
    PLRegController(const PLRegController&) = delete;
    PLRegController& operator=(const PLRegController&) = delete;

    // Status codes.
    static constexpr int kMissingArgument = 3;
    static constexpr int kEngineNotReady = 81;
    static constexpr int kTurnFailed = 83;
    static constexpr int kNoFrontImage = 84;
    static constexpr int kSeparationFailed = 92;
    static constexpr int kLanguageDataMissing = 95;
    static constexpr int kSendFailed = 96;

    // Statuses of 'RUNO' that end the run, each with the run's result; every result of a run is
    // the number of the message its callers show.
    struct EndingStatus {
        int32_t status;
        const char* log; // null: nothing logged
        int result;
    };
    static constexpr std::array<EndingStatus, 9> kEndingStatuses = {{
        {1002, nullptr, 91},
        {1003, "recognize separate file no exist", 92},
        {1009, "recognize separate file no exist", 92},
        {1010, "recognize separate file no exist", 92},
        {1004, nullptr, 4},
        {1005, nullptr, 93},
        {1006, nullptr, 97},
        {1007, "file form error", 94},
        {1008, "recognize language error", kLanguageDataMissing},
    }};

    // Recognition languages.
    static constexpr int kLanguageJapanese = 0;
    static constexpr int kLanguageEnglish = 1;
    static constexpr int kLanguageOther = 12;

    // The card images (decoding, page turns) and the open database folder; cards are recognised
    // only once they are given (kMissingArgument before).
    void setImages(RecognitionImages* images) { m_images = images; }

    // --- recognition runs

    // Recognises the cards in order; `rect` is the user's box (image pixels, origin bottom left),
    // used when `isRect`. Type 0 fills new cards, 1 clears and refills, 21..33 one field tag.
    int recongnizeCard(const QRectF& rect, const QList<CardRecord*>* cards, bool isRect, int recognizeType,
                       int regCountry);
    int recongnizeDetailCard(const QRectF& rect, int tag, int country, const QList<CardRecord*>* cards);
    // The same for `Card` records of the store.
    int recongnizeCard(const QRectF& rect, const ManagedObjectList* cards, bool isRect, int recognizeType,
                       int regCountry);
    // An import hands on each card once its files are written: the card is prepared and sent
    // while the import goes on, and recongnizeCard on the same cards in the same order (the
    // whole card, no box) writes the results. Only the card's file names are read here.
    void recognizeCardAhead(const CardRecord& card, int recognizeType, int regCountry);
    // The package that brings the recognition data the last run missed ("tesseract-ocr-jpn"),
    // the argument of its kLanguageDataMissing message; empty when it missed none. A run that read
    // its cards without some of the data they needed (Japanese cards read in English) answers
    // kLanguageDataMissing once all are written.
    QString missingLanguagePackage() const;
    // Whether a card's reply ends its run before it is mapped (a send error, a status other than 0
    // and 1001, a reply without its blocks): nothing of a later card is written, or sent.
    static bool replyEndsRun(int16_t error, int32_t status, const QByteArray& result, const QByteArray& orientation);

    // --- mapping of the result record ('PLDA') into a card dictionary

    int setRecognizeStructToDbDict(CardDict* dict, const QByteArray* result, int imageHight, int regCountry);
    int setDetailRecognizeStructToDbDict(CardDict* dict, const QByteArray* result, int viewHight, int recognizeType,
                                         int regCountry);
    int separateNameAndYomi(const QString& name, const QString& yomi, int country, CardDict* dict);
    int separateComYomi(const QString& company, CardDict* dict, int country);
    int separateAddress(CardDict* dict, int country);

    // --- clearing and copying the keys of a field tag

    int cleanDateToManagedObject(CardRecord* card, int cleanModel);
    int setDetailDateDictToManagedObject(CardRecord* card, const CardDict* dict, int type);
    int setDataDictToManagedObject(CardRecord* card, const CardDict* dict);

    // The keys a field tag covers, in clearing order; empty for 28 and tags outside 21..33.
    static QStringList keysOfTag(int tag);
    // The text of a result slot, cut at its first 0 unit or at `maxUnits`, never inside a surrogate pair.
    static QString slotText(const QByteArray& result, int slot, int maxUnits);
    // The slot's box as a rectangle string (origin bottom left) for an image `imageHeight` high.
    static QString slotRectString(const QByteArray& result, int slot, int imageHeight);

private:
    // Launches the OCR application and opens its engine: 0, kSendFailed or kEngineNotReady.
    int openOcrApplication();
    RecognitionRunSetup runSetup(const QRectF& rect, bool isRect, int recognizeType, int regCountry) const;
    // Whether a run started ahead holds the first of `cards`, by their files, with the same settings.
    bool continuesRun(RecognitionPendingRun& run, const QList<CardRecord*>& cards, int recognizeType, int regCountry) const;
    // A run's steps for one card: its files named for the preparation (checks, decoding, request
    // blocks); then its reply. finishCard answers the run's end code when the card ends the run.
    RecognitionCardJob makeJob(const RecognitionRunSetup& setup, const CardRecord* card) const;
    std::optional<int> finishCard(const RecognitionRunSetup& setup, RecognitionCardJob& job, int* cardResult);
    int mapTag(CardDict* dict, const QByteArray& result, int imageHeight, int tag, int country);

    RecognitionImages* m_images = nullptr;
    // The run an import started, until recongnizeCard takes it (shared only so that code using
    // the mapping alone needs none of the run's code).
    std::shared_ptr<RecognitionPendingRun> m_ahead;
    bool m_aheadRefused = false; // the application could not be opened for it: left to recongnizeCard
    int32_t m_missingData = 0; // recognition languages whose data the run missed, one bit each
};
