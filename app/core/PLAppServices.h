// What the application delegate uses of the card images, recognition and linkage subsystems, and
// of the application itself. The executable fills it with the real functions; tests with fakes.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct PLAppServices {
    std::function<int(const QString& path)> CheckPDF;
    // May run on several threads at once, for different files.
    std::function<int(const QString& path)> checkAddedFiles;
    std::function<void()> forgetCheckedFiles;
    std::function<bool(const QString& jpegPath, QString* pdfPath)> ConvertJPEGToPDF;
    std::function<std::optional<QStringList>(const QString& pdfPath, bool* success)> divideMultiPagePDF;
    std::function<bool()> LaunchOCRApplication;
    std::function<void()> QuitOCRApplication;
    // Installs a linkage property list; the installed path, or nothing on failure with `refusal`
    // saying why in words for the user.
    std::function<std::optional<QString>(const QString& path, QString* refusal)> installExtAppLnkConfigFile;
    // The delegate's choice of the first database (preference "DB path", else the default folder):
    // the folder to open, or empty when none may be.
    std::function<QString()> initDB;
    // Ends the application (after pending work); tests record it.
    std::function<void()> terminate;
    // Starts a program without a shell; false when it could not be started.
    std::function<bool(const QString& program)> openApplication;
};
