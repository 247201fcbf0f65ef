#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setOrganizationDomain(QStringLiteral("com.orvane.zor"));
    setLogOn(Bundle::main().objectForInfoDictionaryKey(QStringLiteral("PLLogOn")).toBool());

    QMainWindow window;
    window.setObjectName(QStringLiteral("mainWindow"));
    window.setWindowTitle(QStringLiteral("Pelmora"));
    window.resize(900, 600);
    window.show();
    return QApplication::exec();
}
