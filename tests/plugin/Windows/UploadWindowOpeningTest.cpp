// How the upload window opens for what the service lets the user file, and how it shows the
// service's labels and picklists: the window controller on its own, without the service.
#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/UploadViewController.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

struct Window {
    explicit Window(const DisplayInfo& display, int cards)
    {
        CommonFuc::setBundleResourcePath(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Quendrel");
        global.setUserDisplayInfo(std::make_shared<DisplayInfo>(display));
        GlobalData::CardList list;
        for (int i = 0; i < cards; ++i) {
            auto card = std::make_shared<CardInfo>();
            card->OrganizationName = "Acme";
            card->FullName = card->LastName = QString("Smith%1").arg(i);
            list.push_back(card);
        }
        global.setCardInfoListFromXML(list);
        upload = std::make_unique<UploadViewController>(global);
        upload->ShowUploadView();
    }
    template <typename T = QAbstractButton>
    T* child(const char* name) const
    {
        return upload->_uploadView()->findChild<T*>(QString::fromLatin1(name));
    }
    // "on" or "off", then "+" enabled or "-" disabled.
    QString state(const char* name) const
    {
        const auto* button = child(name);
        return QString(button->isChecked() ? "on" : "off") + (button->isEnabled() ? "+" : "-");
    }

    GlobalData global;
    std::unique_ptr<UploadViewController> upload;
};

TEST(UploadWindowOpening, TheFirstChoiceFollowsWhatTheUserMayFile)
{
    const struct {
        bool lead, account;
        int cards;
        QStringList choices;  // lead choice, account choice, new-account cell, existing-account cell
        QStringList buttons;  // upload, skip, same-way box: "+" enabled
        const char* focus;
    } cases[] = {
        {true, true, 3, {"on+", "off+", "on-", "off-"}, {"+", "+", "+"}, "_uploadBtn"},
        {true, false, 3, {"on+", "off-", "on-", "off-"}, {"+", "+", "+"}, "_uploadBtn"},
        {false, true, 1, {"off-", "on+", "on+", "off+"}, {"+", "+", "-"}, "_uploadBtn"},
        {false, false, 3, {"on-", "off-", "on-", "off-"}, {"-", "-", "-"}, "_cancelBtn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("lead %1 account %2").arg(c.lead).arg(c.account).toStdString());
        DisplayInfo display;
        display.isLeadObjectEnabled = c.lead;
        display.isAccountAndContactObjectEnabled = c.account;
        const Window window(display, c.cards);
        EXPECT_EQ((QStringList{window.state("_leadUploadRadioBtn"), window.state("_acUploadRadioBtn"),
                      window.state("_newACUploadRadioBtn"), window.state("_existedACUploadRadioBtn")}),
            c.choices);
        QStringList buttons;
        for (const char* name : {"_uploadBtn", "_skipBtn", "_sameMethodUploadCheckBtn"})
            buttons.append(window.child(name)->isEnabled() ? "+" : "-");
        EXPECT_EQ(buttons, c.buttons);
        ASSERT_TRUE(window.upload->_uploadView()->focusWidget());
        EXPECT_EQ(window.upload->_uploadView()->focusWidget()->objectName(), c.focus);
    }
}

TEST(UploadWindowOpening, LongLabelsAreShortenedWithTheWholeTextAsToolTipAndPicklistsStartAtTheirDefaults)
{
    DisplayInfo display;
    display.AccountLabelName = "Organization";  // 12 characters
    display.ContactLabelName = "Person";
    display.LeadLabelName = "Prospect";
    display.CampaignLabelName = "Campaign";
    display.LeadSourceLabelName = "Lead Source";  // 11 characters
    display.LeadStatusLabelName = "Lead Status";
    display.LeadSource = QStringList{"Web", "Phone Inquiry", "Trade Show"};
    display.LeadSourceDefault = 2;
    display.LeadStatus = QStringList{"Open", "Working"};
    display.LeadStatusDefault = -1;
    const Window window(display, 2);

    const auto* account = window.child("_acUploadRadioBtn");
    EXPECT_EQ(account->text(), "Upload as Organizatio...");
    EXPECT_EQ(account->toolTip(), "Upload as Organization");
    const auto* lead = window.child("_leadUploadRadioBtn");
    EXPECT_EQ(lead->text(), "Upload as Prospect");
    EXPECT_EQ(lead->toolTip(), "");
    const auto* source = window.child<QLabel>("_leadSourceLabel");
    EXPECT_EQ(source->text(), "Lead Source");
    EXPECT_EQ(source->toolTip(), "");
    const auto* table = window.child<QLabel>("_accountTableNameLabel");
    EXPECT_EQ(table->text(), "Organizatio... found:");
    EXPECT_EQ(table->toolTip(), "Organization found:");
    const auto* newAccount = window.child("_newACUploadRadioBtn");
    EXPECT_EQ(newAccount->text(), "New Organizatio... with a Person");
    EXPECT_EQ(newAccount->toolTip(), "New Organization with a Person");

    const auto* sources = window.child<QComboBox>("_leadSourceComboBox");
    EXPECT_EQ(sources->count(), 4);
    EXPECT_EQ(sources->itemText(0), "(none)");
    EXPECT_EQ(sources->currentText(), "Trade Show");
    EXPECT_EQ(window.child<QComboBox>("_leadStatusComboBox")->currentText(), "Open");
}

TEST(UploadWindowOpening, WithoutPicklistValuesTheBoxesAreOff)
{
    const Window window(DisplayInfo(), 2);
    const auto* sources = window.child<QComboBox>("_leadSourceComboBox");
    EXPECT_EQ(sources->count(), 1);
    EXPECT_FALSE(sources->isEnabled());
    EXPECT_FALSE(window.child<QComboBox>("_leadStatusComboBox")->isEnabled());
    EXPECT_EQ(window.child<QComboBox>("_leadStatusComboBox")->currentIndex(), -1) << "the lead status is then empty";
}

}
