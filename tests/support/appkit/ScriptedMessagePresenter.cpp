#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include "platform/appkit/ModalScope.h"

ScriptedMessagePresenter::ScriptedMessagePresenter()
{
    MessagePresenter::setCurrent(this);
}

ScriptedMessagePresenter::~ScriptedMessagePresenter()
{
    MessagePresenter::setCurrent(nullptr);
}

QStringList ScriptedMessagePresenter::texts() const
{
    QStringList list;
    for (const Shown& s : m_shown)
        list.append(s.request.informativeText);
    return list;
}

void ScriptedMessagePresenter::clear()
{
    m_answers.clear();
    m_shown.clear();
    m_sheets.clear();
}

int ScriptedMessagePresenter::nextAnswer()
{
    if (m_answers.empty())
        return kAlertFirstButtonReturn;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int ScriptedMessagePresenter::runModal(const AlertRequest& request)
{
    m_shown.append({request, true});
    const int answer = nextAnswer();
    ModalScope scope;
    if (duringRun)
        duringRun(request);
    return answer;
}

void ScriptedMessagePresenter::beginSheet(const AlertRequest& request, Completion done)
{
    m_shown.append({request, false});
    m_sheets.emplace_back(nextAnswer(), std::move(done));
}

void ScriptedMessagePresenter::answerSheets()
{
    while (!m_sheets.empty()) {
        auto [answer, done] = std::move(m_sheets.front());
        m_sheets.pop_front();
        if (done)
            done(answer);
    }
}
