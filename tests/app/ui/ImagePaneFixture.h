// A main window on a database of its own, shown and laid out, with helpers that add cards with
// image files and select them as the card list does.
#pragma once

#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/views/PLImageView.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ImagePaneFixture : public ::testing::Test {
protected:
    // Every error message reads "E<number>", so that tests tell them apart; the questions asked
    // here read their key.
    static PlistValue::Dictionary messageTexts()
    {
        PlistValue::Dictionary strings;
        strings.insert(QStringLiteral("IDS_MSG_FOLDER_IS_DELETE"), PlistValue(QStringLiteral("IDS_MSG_FOLDER_IS_DELETE")));
        strings.insert(QStringLiteral("IDS_MSG_IS_DELETEFILE"), PlistValue(QStringLiteral("IDS_MSG_IS_DELETEFILE")));
        strings.insert(QStringLiteral("IDS_MSG_OVERWRITE_ATTACH"), PlistValue(QStringLiteral("overwrite %@")));
        for (int number = 1; number < 1000; ++number)
            strings.insert(QStringLiteral("IDS_MSG_ERR_%1").arg(number, 4, 10, QLatin1Char('0')), PlistValue(QStringLiteral("E%1").arg(number)));
        return strings;
    }

    QTemporaryDir temp;
    TestBundle bundle{{}, messageTexts()};
    ScriptedMessagePresenter presenter;
    QString database;
    OpenDatabase openDatabase;
    QString storeFile() const { return database + QStringLiteral("/Pelmora1.sqldb"); }
    std::unique_ptr<PLMainWindowController> window;
    PLImageController* pane = nullptr;

    void SetUp() override
    {
        QFile templateFile(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora/Original.pdf"));
        ASSERT_TRUE(templateFile.open(QIODevice::ReadOnly));
        bundle.writeRaw(QStringLiteral("Original.pdf"), templateFile.readAll());
        PreferenceDomain::setStandardDomain(QStringLiteral("test.imagepane"), temp.filePath(QStringLiteral("prefs")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        startWindow();
    }
    // The window on the database, shown and laid out (again, as at the next launch, once the
    // previous window is gone).
    void startWindow()
    {
        openDatabase.choose(database);
        window = std::make_unique<PLMainWindowController>(openDatabase);
        window->setTerminate([] {});
        window->showActiveWindow();
        window->window()->resize(1200, 800);
        QApplication::processEvents();
        pane = window->imageController();
    }
    void TearDown() override
    {
        window.reset();
    }

    QString imagePath(const QString& name) const { return database + QStringLiteral("/Images/") + name; }

    // A card in the Inbox with these attribute values.
    void addCard(const QString& cardID, const QVariantMap& values)
    {
        ManagedObjectContext* context = window->managedObjectContext();
        const ManagedObjectList inbox = context->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), cardID);
        card->setValue(QStringLiteral("full_Name"), cardID);
        card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc());
        for (auto it = values.begin(); it != values.end(); ++it)
            card->setValue(it.key(), it.value());
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), cardID);
        assignCardFolder(*card, *belong, inbox.first()->stringValue(QStringLiteral("folder_ID")));
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        window->saveAction();
    }
    // A scanner card file of `pages` pages, each one 120 x 60 pixel image.
    void writeScanner(const QString& name, int pages)
    {
        ASSERT_TRUE(testpdf::writePdf(imagePath(name), testpdf::scannerDocument(pages)));
    }
    void select(const QStringList& cardIDs)
    {
        window->selectCards(cardIDs);
        QApplication::processEvents();
    }
    PLImageView* face() const { return pane->faceImageView(); }
    PLImageView* back() const { return pane->backImageView(); }
};

