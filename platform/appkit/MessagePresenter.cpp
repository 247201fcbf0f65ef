#include "platform/appkit/MessagePresenter.h"

#include "platform/foundation/Log.h"

namespace {

MessagePresenter* g_current = nullptr;
MessagePresenter* g_application = nullptr;

// For a program without windows: nothing is shown, nothing blocks.
class LoggingPresenter : public MessagePresenter {
public:
    int runModal(const AlertRequest& request) override
    {
        PLNSLog(QStringLiteral("alert not shown: %@ %@"), request.title, request.informativeText);
        return kAlertFirstButtonReturn;
    }
    void beginSheet(const AlertRequest& request, Completion done) override
    {
        const int code = runModal(request);
        if (done)
            done(code);
    }
};

} // namespace

MessagePresenter& MessagePresenter::current()
{
    static LoggingPresenter logging;
    return g_current ? *g_current : g_application ? *g_application : logging;
}

void MessagePresenter::setCurrent(MessagePresenter* presenter)
{
    g_current = presenter;
}

void MessagePresenter::setApplicationPresenter(MessagePresenter* presenter)
{
    g_application = presenter;
}
