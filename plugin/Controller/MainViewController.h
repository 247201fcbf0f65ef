// The plug-in's window flow: each window sets the next view code and ends its modal run; the loop
// shows the next window until the code says the flow is over. Each window controller registers the
// step that shows its window; a view code without a step ends the flow.
#pragma once

#include <functional>
#include <map>

class GlobalData;

inline constexpr const char* kQDLEVENTCOSHOWCARDSVIEW = "QDLEVENTCOSHOWCARDSVIEW";
inline constexpr const char* kQDLEVENTCOSHOWUPLOADVIEW = "QDLEVENTCOSHOWUPLOADVIEW";

class MainViewController {
public:
    using Step = std::function<void()>;

    explicit MainViewController(GlobalData& global) : m_global(global) {}
    ~MainViewController();
    MainViewController(const MainViewController&) = delete;
    MainViewController& operator=(const MainViewController&) = delete;

    // Runs the whole flow modally: the account settings alone, or the login and what follows.
    void Run(bool settingsOnly);

    // Shows the window of `viewCode` modally and returns when it has closed.
    void setViewStep(int viewCode, Step step) { m_steps[viewCode] = std::move(step); }
    // Reads the stored login and chooses the first view code (login window or waiting window).
    void setImmediateLogin(Step step) { m_immediateLogin = std::move(step); }
    void setAccountSettings(Step step) { m_accountSettings = std::move(step); }
    // Prepare the uploaded-cards and upload windows when the previous window hands over.
    void setShowUploadedCardsView(Step step) { m_showUploadedCardsView = std::move(step); }
    void setShowUploadView(Step step) { m_showUploadView = std::move(step); }

private:
    void OnShowUploadedCardsView();
    void OnShowUploadView();

    GlobalData& m_global;
    std::map<int, Step> m_steps;
    Step m_immediateLogin;
    Step m_accountSettings;
    Step m_showUploadedCardsView;
    Step m_showUploadView;
};
