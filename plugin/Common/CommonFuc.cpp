#include "plugin/Common/CommonFuc.h"

#include "plugin/Common/LogManager.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/foundation/Bundle.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <dlfcn.h>

#include <memory>
#include <mutex>

namespace {

std::mutex g_bundleMutex;
QString g_resourcePath;
std::unique_ptr<Bundle> g_bundle;

// "<bundle>/Contents/Linux/libQuendrel.so" keeps its resources in "<bundle>/Contents/Resources".
QString resourcesBesideModule()
{
    Dl_info info {};
    if (!dladdr(reinterpret_cast<const void*>(&resourcesBesideModule), &info) || !info.dli_fname)
        return QString();
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteDir().filePath(QStringLiteral("../Resources"));
}

}

QString CommonFuc::bundleResourcePath()
{
    std::lock_guard<std::mutex> lock(g_bundleMutex);
    return g_resourcePath.isEmpty() ? QDir::cleanPath(resourcesBesideModule()) : g_resourcePath;
}

void CommonFuc::setBundleResourcePath(const QString& path)
{
    std::lock_guard<std::mutex> lock(g_bundleMutex);
    g_resourcePath = path;
    g_bundle.reset();
}

QString CommonFuc::GetLocalStringWithKey(const QString& key)
{
    const QString path = bundleResourcePath();
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return QString();
    std::lock_guard<std::mutex> lock(g_bundleMutex);
    if (!g_bundle || g_bundle->resourcePath() != path)
        g_bundle = std::make_unique<Bundle>(path);
    return g_bundle->localizedString(key);
}

QString CommonFuc::GetDomain(const QString& address)
{
    if (address.count(QLatin1Char('@')) != 1)
        return address;
    return address.mid(address.indexOf(QLatin1Char('@')) + 1);
}

QString CommonFuc::GetFirstName(const CardInfo& card)
{
    if (card.MiddleName.isEmpty())
        return card.FirstName.isEmpty() ? QString(QLatin1String("")) : card.FirstName;
    if (card.FirstName.isEmpty())
        return card.MiddleName;
    return card.FirstName + QLatin1Char(' ') + card.MiddleName;
}

bool CommonFuc::StrCompare(const QString& a, const QString& b, bool ignoreCase)
{
    if (a.isEmpty() && b.isEmpty())
        return true;
    if (a.isNull() || b.isNull())
        return false;
    return a.compare(b, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

QString CommonFuc::SpliceWarnMsg(const QStringList& keys)
{
    const QString separator = GetLocalStringWithKey(QStringLiteral("LTL99016"));
    QStringList texts;
    for (const QString& key : keys) {
        const QString text = GetLocalStringWithKey(key);
        if (!text.isEmpty())
            texts.append(text);
    }
    return texts.join(separator);
}

QString CommonFuc::ConvertDoubleQuote(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1Char('"'), QLatin1String("\"\""));
}

QString CommonFuc::ConvertSpecialCharInSOQL(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\''), QLatin1String("\\'"));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    out.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    return out;
}

QString CommonFuc::ConvertSpecialCharInSOQLLike(const QString& text)
{
    QString out = ConvertSpecialCharInSOQL(text);
    out.replace(QLatin1Char('%'), QLatin1String("\\%"));
    out.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return out;
}

bool CommonFuc::DeleteFileAtPath(const QString& path)
{
    if (path.isEmpty())
        return true;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const bool removed = info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
    if (!removed)
        LogManager::LogOutput(kLogError, QStringLiteral("Could not remove %1").arg(path));
    return removed;
}

bool CommonFuc::CreatePath(const QString& path)
{
    if (path.isEmpty())
        return false;
    if (QFileInfo::exists(path))
        return true;
    if (QDir().mkpath(path))
        return true;
    LogManager::LogOutput(kLogError, QStringLiteral("Could not create the folder %1").arg(path));
    return false;
}

void CommonFuc::ShowQDLAlertMSG(const QString&, const QString& message, QWidget* window)
{
    if (message.isNull()) {
        LogManager::LogOutput(kLogError, QStringLiteral("No Alert Message"));
        return;
    }
    AlertRequest request;
    request.window = window;
    request.title = QStringLiteral("Pelmora");
    request.informativeText = message;
    MessagePresenter::current().runModal(request);
}

void CommonFuc::ShowWindowCenter(QWidget* window, QWidget* host)
{
    QRect area;
    if (host)
        area = host->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) {
        // A window never shown takes its size from its layout only when shown: take it now, or
        // the centre is reckoned with the default size.
        if (!window->testAttribute(Qt::WA_Resized) && !window->isVisible())
            window->adjustSize();
        const QSize size = window->frameGeometry().size();
        window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    }
    // Modal from the moment it shows: a window shown first and run modally after stays blocked by
    // any modal window already up, and leaves the windows behind it open to clicks.
    if (window->windowModality() == Qt::NonModal)
        window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
}
