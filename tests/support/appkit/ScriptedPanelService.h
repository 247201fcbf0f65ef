// A panel service for tests: answers come from queues the test fills, every request is recorded,
// and nothing is shown. It installs itself as the current service while it lives.
#pragma once

#include "platform/appkit/PanelService.h"

#include <QList>

#include <deque>

class ScriptedPanelService : public PanelService {
public:
    ScriptedPanelService();
    ~ScriptedPanelService() override;

    // Answers in the order requests arrive; with none queued the panel is cancelled.
    // An open panel's answer passes through the request's isValidFilename as the dialog's would.
    void queueOpenAnswer(const QStringList& paths) { m_openAnswers.push_back(paths); }
    void queueSaveAnswer(const QString& path) { m_saveAnswers.push_back(path); }
    // A choice panel's row, or -1 to cancel.
    void queueChoiceAnswer(int row) { m_choiceAnswers.push_back(row); }
    const QList<PanelRequest>& requests() const { return m_requests; }
    const QList<ChoicePanelRequest>& choiceRequests() const { return m_choiceRequests; }

    QStringList runOpenPanel(const PanelRequest& request) override;
    QString runSavePanel(const PanelRequest& request) override;
    int runChoicePanel(const ChoicePanelRequest& request) override;

private:
    std::deque<QStringList> m_openAnswers;
    std::deque<QString> m_saveAnswers;
    std::deque<int> m_choiceAnswers;
    QList<PanelRequest> m_requests;
    QList<ChoicePanelRequest> m_choiceRequests;
};
