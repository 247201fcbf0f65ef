#include "app/linkage/LinkageLanguage.h"

#include <QLocale>

namespace {

std::function<QString()> g_languageSource;

} // namespace

QString ConvertLanguageString(const QString& languageCode)
{
    QString code = languageCode;
    code.replace(QLatin1Char('_'), QLatin1Char('-'));
    const QString primary = code.section(QLatin1Char('-'), 0, 0).toLower();
    if (primary == QLatin1String("zh")) {
        const QString rest = code.mid(3).toLower();
        // Traditional script, or a region that writes it, else simplified.
        const bool traditional = rest.startsWith(QLatin1String("hant")) || rest.startsWith(QLatin1String("tw"))
            || rest.startsWith(QLatin1String("hk")) || rest.startsWith(QLatin1String("mo"));
        return traditional ? QStringLiteral("zh-TW") : QStringLiteral("zh-CN");
    }
    static const QList<QPair<QString, QString>> names{
        {"en", "English"}, {"fr", "French"}, {"ja", "Japanese"}, {"de", "German"}, {"es", "Spanish"},
        {"it", "Italian"}, {"pt", "Portuguese"}, {"ru", "Russian"}, {"ko", "Korean"},
    };
    for (const auto& [prefix, name] : names) {
        if (primary == prefix)
            return name;
    }
    return QStringLiteral("English");
}

QString getCurSysLanguage()
{
    const QString code = g_languageSource ? g_languageSource() : QLocale::system().uiLanguages().value(0);
    return code.isEmpty() ? QString() : ConvertLanguageString(code);
}

void setSystemLanguageSource(std::function<QString()> source)
{
    g_languageSource = std::move(source);
}
