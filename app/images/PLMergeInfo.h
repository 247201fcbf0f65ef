// One candidate card of the merge window: which card, where its front page lies, which preview
// shows it, and whether it took part in a merge that was not undone.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class PLMergeInfo {
public:
    static constexpr uint32_t kNotPreviewed = 0;
    static constexpr uint32_t kFacePreview = 1;
    static constexpr uint32_t kBackPreview = 2;

    PLMergeInfo(const QString& cardId, const QString& pdfFilePath) : _cardId(cardId), _pdfFilePath(pdfFilePath) {}

    const QString& cardId() const { return _cardId; }
    void setCardId(const QString& cardId) { _cardId = cardId; }
    const QString& pdfFilePath() const { return _pdfFilePath; }
    void setPdfFilePath(const QString& path) { _pdfFilePath = path; }
    uint32_t previewFlag() const { return _previewFlag; }
    void setPreviewFlag(uint32_t flag) { _previewFlag = flag; }
    bool isMerged() const { return _isMerged; }
    void setIsMerged(bool merged) { _isMerged = merged; }

    void resetMergeInfo() { _previewFlag = kNotPreviewed; }
    bool isPreviewing() const { return _previewFlag == kFacePreview || _previewFlag == kBackPreview; }

private:
    QString _cardId;
    QString _pdfFilePath;
    uint32_t _previewFlag = kNotPreviewed;
    bool _isMerged = false;
};

using PLMergeInfoPtr = std::shared_ptr<PLMergeInfo>;
