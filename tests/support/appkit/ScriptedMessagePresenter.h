// A message presenter for tests: answers come from a queue the test fills, every request is
// recorded, and nothing is shown. It installs itself as the current presenter while it lives.
#pragma once

#include "platform/appkit/MessagePresenter.h"

#include <QList>

#include <deque>

class ScriptedMessagePresenter : public MessagePresenter {
public:
    struct Shown {
        AlertRequest request;
        bool waited;   // runModal (true) or beginSheet (false)
    };

    ScriptedMessagePresenter();
    ~ScriptedMessagePresenter() override;

    // Answers are taken in the order requests arrive; with none queued the first button answers.
    void queueAnswer(int returnCode) { m_answers.push_back(returnCode); }
    const QList<Shown>& shown() const { return m_shown; }
    // The informative texts shown so far, in order.
    QStringList texts() const;
    void clear();

    // Called inside each waiting run (with its ModalScope open), for tests of what happens meanwhile.
    std::function<void(const AlertRequest&)> duringRun;

    // Sheets begun with the delegate form wait until the test answers them.
    int pendingSheets() const { return static_cast<int>(m_sheets.size()); }
    void answerSheets();

    int runModal(const AlertRequest& request) override;
    void beginSheet(const AlertRequest& request, Completion done) override;

private:
    int nextAnswer();

    std::deque<int> m_answers;
    QList<Shown> m_shown;
    std::deque<std::pair<int, Completion>> m_sheets;
};
