// The upload windows' test fixture: the staged plug-in loaded as the host loads it, the fake
// service as its login server, no stored login, and helpers that read what a run left behind.
#pragma once

#include "tests/support/cardfile/CardFiles.h"
#include "tests/support/crm/FakeCrmService.h"
#include "tests/support/pluginwindows/PluginModule.h"
#include "tests/support/pluginwindows/WindowDriver.h"
#include "plugin/Common/QDLKeyChain.h"
#include "plugin/Common/UnansweredCards.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/keychain/GenericPasswordStore.h"

#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline QByteArray utf16WithMark(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

class UploadWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module.entry()) << module.error().toStdString();
        PreferenceDomain settings(QStringLiteral("com.orvane.zor.Pelmora.Quendrel"));
        settings.setValue(QStringLiteral("LoginServerURL"), PlistValue(fake.baseUrl()));
        // Each test starts without cards whose create went unanswered.
        settings.remove(QString::fromLatin1(kPrefUnansweredCards));
        ASSERT_TRUE(settings.synchronize());
        QFile::remove(resultFile());
        // Each test starts without a stored login.
        ASSERT_EQ(GenericPasswordStore::remove(QString::fromLatin1(kQDLKeychainLabel)), kKeychainSuccess);
    }

    QString cardFile(const std::vector<CardFixture>& cards)
    {
        QStringList items;
        for (const CardFixture& card : cards)
            items.append(cardItem(card));
        const QString path = temp.filePath("20261210001500123.xml");
        EXPECT_TRUE(writeUtf16(path, cardDocument(items)));
        return path;
    }

    // The host's result file goes where this platform keeps an application's user data.
    static QString resultFile() { return qEnvironmentVariable("XDG_DATA_HOME") + "/Pelmora/QuendrelResult.csv"; }

    QStringList leads() const
    {
        QStringList names;
        for (const FakeCrmRecord& record : fake.records()) {
            if (record.type == "Lead")
                names.append(record.value("LastName") + "/" + record.value("Company") + "/" + record.value("LeadSource"));
        }
        return names;
    }

    // The values of `field` of every record of `type` the fake holds, in the order they were made.
    QStringList valuesOf(const QString& type, const QString& field) const
    {
        QStringList values;
        for (const FakeCrmRecord& record : fake.records()) {
            if (record.type == type)
                values.append(field == "Id" ? record.id : record.value(field));
        }
        return values;
    }

    static void logIn(WindowDriver& driver, const QString& user = "user@example.com", const QString& password = "secret")
    {
        driver.then("_loginView", [=](QWidget* window) {
            WindowDriver::type(window, "_userNameField", user);
            WindowDriver::type(window, "_passwordField", password);
            WindowDriver::press(window, "_OKButton");
        });
    }

    // The result window's rows go into `rows`, then the window is closed with OK.
    static void readResults(WindowDriver& driver, QStringList& rows)
    {
        driver.then("_resultView", [&rows](QWidget* window) {
            rows = resultRows(window);
            WindowDriver::press(window, "_OKButton");
        });
    }

    static QStringList resultRows(QWidget* window)
    {
        QStringList rows;
        auto* table = WindowDriver::child<QTableWidget>(window, "_resultList");
        for (int row = 0; table && row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column)
                cells.append(table->item(row, column)->text());
            rows.append(cells.join('|'));
        }
        return rows;
    }

    const std::vector<CardFixture> threeCards{
        {"101", "Ann Smith", "Smith", "Ann", "Acme", "ann@acme.example", "", ""},
        {"102", "Bo", "", "Bo", "Beta", "bo@beta.example", "", ""},
        {"103", "Cy Jones", "Jones", "Cy", "Gamma", "cy@gamma.example", "", ""},
    };

    PluginModule module;
    FakeCrmService fake;
    QTemporaryDir temp;
};
