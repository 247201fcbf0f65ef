// Run-time loading of the three separation libraries from the application folder:
// "En/Lib" (English names), "Jp/Lib" (company readings and addresses). Each use opens the
// library, checks and initialises it, and closes it again when the object goes.
#pragma once

#include <QString>

class SeparationLibrary {
public:
    enum Kind { EnglishName, CompanyReading, JapaneseAddress };

    // Status codes of opening.
    static constexpr int kEntryMissing = 88;
    static constexpr int kInitFailed = 89;
    static constexpr int kLoadFailed = 90;

    // The folder that holds "En/Lib" and "Jp/Lib"; also sets "DIC_PATH_EN" and "DIC_PATH_JP_COM".
    // Called once at start-up before other threads run (setenv is not thread-safe); tests call it
    // to point at libraries of their own.
    static void setApplicationFolder(const QString& folder);
    static QString applicationFolder();
    static QString libraryPath(Kind kind);

    explicit SeparationLibrary(Kind kind);
    ~SeparationLibrary();
    SeparationLibrary(const SeparationLibrary&) = delete;
    SeparationLibrary& operator=(const SeparationLibrary&) = delete;

    // 0, or 90 (no library), 88 (an entry point missing), 89 (initLibrary refused).
    int open();
    // The working entry point; valid after open() gave 0.
    void* entry() const { return m_entry; }

private:
    Kind m_kind;
    void* m_handle = nullptr;
    void* m_free = nullptr;
    void* m_entry = nullptr;
};
