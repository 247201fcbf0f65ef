#include "app/images/SeparationLibrary.h"

#include "outside/separation/PLSeparation.h"
#include "platform/foundation/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <dlfcn.h>
#include <cstdlib>

namespace {

const char kDicPathEn[] = "DIC_PATH_EN";
const char kDicPathJpCom[] = "DIC_PATH_JP_COM";
const char kInitLibrary[] = "initLibrary";
const char kFreeLibrary[] = "freeLibrary";

QString& folderSetting()
{
    static QString folder;
    return folder;
}

struct LibraryInfo {
    const char* relativePath;
    const char* entry;
};

LibraryInfo info(SeparationLibrary::Kind kind)
{
    switch (kind) {
    case SeparationLibrary::EnglishName:
        return {"En/Lib/libPLlibEnNamAddr.so", "eng_name_sepa"};
    case SeparationLibrary::CompanyReading:
        return {"Jp/Lib/libPLlibJpCom.so", "cname_search_cname2cyomi"};
    case SeparationLibrary::JapaneseAddress:
        break;
    }
    return {"Jp/Lib/libPLlibJpAddr.so", "SeparateAddress"};
}

} // namespace

void SeparationLibrary::setApplicationFolder(const QString& folder)
{
    folderSetting() = folder;
    const QDir dir(folder);
    ::setenv(kDicPathEn, QFile::encodeName(dir.filePath(QStringLiteral("En/Lib"))).constData(), 1);
    ::setenv(kDicPathJpCom, QFile::encodeName(dir.filePath(QStringLiteral("Jp/Lib"))).constData(), 1);
}

QString SeparationLibrary::applicationFolder()
{
    if (folderSetting().isEmpty() && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return folderSetting();
}

QString SeparationLibrary::libraryPath(Kind kind)
{
    return QDir(applicationFolder()).filePath(QString::fromLatin1(info(kind).relativePath));
}

SeparationLibrary::SeparationLibrary(Kind kind) : m_kind(kind) {}

SeparationLibrary::~SeparationLibrary()
{
    if (!m_handle)
        return;
    if (m_entry && m_free)
        reinterpret_cast<PLFreeLibraryFunc>(m_free)();
    ::dlclose(m_handle);
}

int SeparationLibrary::open()
{
    const QString path = libraryPath(m_kind);
    // The macros, not a literal: on this system RTLD_LOCAL is 0 and 6 would mean RTLD_NOLOAD.
    m_handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        PLNSLog(QStringLiteral("dlopen failed: %s"), QString::fromLocal8Bit(::dlerror()));
        return kLoadFailed;
    }
    void* init = ::dlsym(m_handle, kInitLibrary);
    m_free = ::dlsym(m_handle, kFreeLibrary);
    void* entry = ::dlsym(m_handle, info(m_kind).entry);
    if (!init || !m_free || !entry) {
        ::dlclose(m_handle);
        m_handle = nullptr;
        return kEntryMissing;
    }
    if (reinterpret_cast<PLInitLibraryFunc>(init)() != 0) {
        ::dlclose(m_handle);
        m_handle = nullptr;
        return kInitFailed;
    }
    m_entry = entry;
    return 0;
}
