// What the export tests share: a private folder, the application's own resources, scripted
// answers to questions, a recording workspace, a preference domain of their own and a small
// table of cards.
#pragma once

#include "app/core/OpenDatabase.h"
#include "app/images/CardRecord.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ExportTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    ScriptedMessagePresenter presenter;
    FakeWorkspace workspace;
    QByteArray savedTempDir;

    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return temp.filePath(name); }
    void setExportItems(int mask);

public:
    static QByteArray readAll(const QString& path);
    // Runs a program and answers its standard output; fails the test when it does not end with 0.
    static QByteArray run(const QString& program, const QStringList& arguments);
};

// A card database folder with the image PDFs of the table's cards (one page each), open as the
// current database.
class CardDatabaseTest : public ExportTest {
protected:
    QString database;
    OpenDatabase openDatabase;

    void SetUp() override;
};

// Decodes UTF-16 little-endian bytes after their byte-order mark.
QString fromUtf16WithBom(const QByteArray& bytes);
// The byte-order mark FF FE, then the text in UTF-16 little-endian.
QByteArray utf16le(const QString& text);

namespace cards {
// Latin: names, company, department, every contact field.
CardDict latin();
// Japanese with readings.
CardDict japanese();
// The Japanese card with a back image.
CardDict japaneseTwoSided();
// A name and nothing else.
CardDict nameOnly(const QString& name);
// Fields holding commas, semicolons, quotes, backslashes, line breaks and emoji.
CardDict awkward();
} // namespace cards
