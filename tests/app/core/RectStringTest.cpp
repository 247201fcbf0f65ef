#include "app/core/RectString.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

TEST(RectString, WritesTruncatedIntegers)
{
    const struct {
        QRectF rect;
        const char* text;
    } cases[] = {
        {{10.9, 20.2, -3.7, 0.5}, "10/20/-3/0"},
        {{-0.5, -0.99, 0, 1e-9}, "0/0/0/0"},
        {{-12, 7, 2147483647.0, 123456.78}, "-12/7/2147483647/123456"},
        {{std::nan(""), std::numeric_limits<double>::infinity(), -1e12, 3}, "0/2147483647/-2147483648/3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertRectToString(c.rect), QString::fromLatin1(c.text)) << c.text;
}

TEST(RectString, ReadsOnlyExactlyFourParts)
{
    const QRectF untouched(1, 1, 1, 1);
    const struct {
        const char* text;
        QRectF expected;
    } cases[] = {
        {"1/2/3", untouched},
        {"1/2/3/4/5", untouched},
        {"", untouched},
        {"7/x/9/10", {7, 0, 9, 10}},
        {" 12.5/ -3/+4abc/1e2", {12.5, -3, 4, 100}},
        {"///", {0, 0, 0, 0}},
        {"nan/inf/-infinity/.5", {0, 0, 0, 0.5}},
        {"--1/+-2/1.5e/3.", {0, 0, 1.5, 3}},
        {"10/20/-3/0", {10, 20, -3, 0}},
    };
    for (const auto& c : cases) {
        QRectF rect = untouched;
        ConvertStringToRect(QString::fromLatin1(c.text), &rect);
        EXPECT_EQ(rect, c.expected) << c.text;
    }
    QRectF rect = untouched;
    ConvertStringToRect(QString(), &rect);
    EXPECT_EQ(rect, untouched);
    ConvertStringToRect(QStringLiteral("1/2/3/4"), nullptr);
}

// Under a German locale the C library reads "2,5" as 2.5 and "1.5" as 1; rectangle strings must not.
TEST(RectString, IgnoresTheUserLocale)
{
    QTemporaryDir locales;
    const QString target = locales.filePath(QStringLiteral("de_DE.UTF-8"));
    const int made = QProcess::execute(QStringLiteral("localedef"),
                                       {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"), target});
    const QByteArray oldLocPath = qgetenv("LOCPATH");
    qputenv("LOCPATH", locales.path().toLocal8Bit());
    const bool german = made == 0 && std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    if (!german)
        std::setlocale(LC_ALL, "C.UTF-8");
    if (german) {
        ASSERT_EQ(std::strtod("2,5", nullptr), 2.5) << "the German locale is in effect";
    }

    QRectF rect;
    ConvertStringToRect(QStringLiteral("1.5/2,5/-0.75/4"), &rect);
    const QString written = ConvertRectToString(QRectF(1234.9, -5678.2, 1.5, 2));

    std::setlocale(LC_ALL, "C");
    if (oldLocPath.isNull())
        qunsetenv("LOCPATH");
    else
        qputenv("LOCPATH", oldLocPath);
    EXPECT_EQ(rect, QRectF(1.5, 2, -0.75, 4));
    EXPECT_EQ(written, "1234/-5678/1/2");
    if (!german)
        GTEST_SKIP() << "localedef could not make de_DE.UTF-8 (package \"locales\" missing); checked under C.UTF-8 only";
}
