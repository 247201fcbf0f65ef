// A fixture database with its main window stand-in and a scripted message presenter.
#pragma once

#include "app/core/DiskUtilities.h"
#include "app/core/PLMessage.h"
#include "app/images/PLMergeModel.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/merge/MergeFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

class MergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_db = mergefixture::Database::create(m_dir.path());
        ASSERT_TRUE(m_db);
        m_host = std::make_unique<mergefixture::Host>(*m_db);
        PreferenceDomain& prefs = PreferenceDomain::standard();
        for (const QString& key : {mergepref::kDeleteBackImage, mergepref::kScaleFactor, mergepref::kAutoRunMerge,
                                   mergepref::kGeneralDisplay})
            prefs.remove(key);
    }

    // Cards 1..count, saved.
    void addCards(int count, const mergefixture::CardOptions& options = {})
    {
        for (int i = 1; i <= count; ++i)
            ASSERT_TRUE(m_db->addCard(i, options));
        ASSERT_EQ(m_db->save(), 0);
    }
    static QString message(int id) { return PLMessage::errorText(id); }
    QStringList shown() const { return m_presenter.texts(); }

    QTemporaryDir m_dir;
    std::unique_ptr<mergefixture::Database> m_db;
    std::unique_ptr<mergefixture::Host> m_host;
    ScriptedMessagePresenter m_presenter;
};
