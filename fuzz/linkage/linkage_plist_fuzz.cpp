// A linkage setting plist arrives from any application, and the user's linkage preference from
// any session: reading, checking and listing one must never crash or grow without bound.
#include "app/linkage/PLConfigExtAppSetting.h"
#include "app/linkage/PLPreferenceExtApp.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("com.example.Fuzz.setting.plist"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    int status = 0;
    if (const std::unique_ptr<PLConfigExtAppSetting> setting = PLConfigExtAppSetting::newCfgExtAppSettingWith(path, &status))
        setting->description();
    PLPreferenceExtApp preference(path);
    if (preference.parse() == 0)
        preference.validate();
    return 0;
}
