// Writes a PNG of the merge window opened on a generated database: 14 cards, the first page
// shown, one card in each preview. For a person to look at: merge_window_snapshot OUT.png
#include "app/images/merge/PLCardMergerWindowController.h"
#include "app/images/merge/PLMergeCardImageView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/merge/MergeFixture.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    PreferenceDomain::setStandardDomain(QStringLiteral("com.orvane.zor.Pelmora"), dir.filePath(QStringLiteral("prefs")));
    Bundle::setMain(QStringLiteral(PELMORA_RESOURCES));
    auto db = mergefixture::Database::create(dir.path());
    if (!db)
        return 1;
    for (int i = 1; i <= 14; ++i)
        db->addCard(i);
    if (db->save() != 0)
        return 1;
    mergefixture::Host host(*db);
    host.select(db->card(mergefixture::Database::cardID(3)));

    PLCardMergerWindowController window;
    window.setMainWinController(&host);
    if (!window.prepareWindow(PLMergeModel::kModeSearch, {}))
        return 1;
    window.show();
    QApplication::processEvents();
    window.doSelected(window.getImageViewWith(7));
    window.setPreviewBack();
    QApplication::processEvents();
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!window.grab().save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n", argv[1]);
    return 0;
}
