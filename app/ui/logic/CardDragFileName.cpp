#include "app/ui/logic/CardDragFileName.h"

#include "app/core/DiskUtilities.h"
#include "app/core/PLChecker.h"

namespace {

QString cut(const QString& text)
{
    qsizetype end = 0;
    for (int characters = 0; end < text.size() && characters < kDragNameMaxCharacters; ++characters)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate() ? 2 : 1;
    return text.left(end);
}

} // namespace

QString cardDragFileName(const QString& company, const QString& fullName, const QString& noName)
{
    const bool hasCompany = !PLChecker::isBlank(company);
    const bool hasName = !PLChecker::isBlank(fullName);
    QString name;
    if (hasCompany && hasName)
        name = cut(company) + QLatin1Char('_') + cut(fullName);
    else if (hasName)
        name = cut(fullName);
    else if (hasCompany)
        name = cut(company);
    else
        name = noName;
    return checkFileName(name, false) + QStringLiteral(".pdf");
}
