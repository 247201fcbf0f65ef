// The real Quillant child recognising drawn cards through the recognition controller.
#include "tests/outside/ocr/ScannedCard.h"
#include "tests/support/cards/SyntheticCard.h"
#include "tests/support/pdf/TestPdf.h"

#include "app/core/OpenDatabase.h"
#include "app/images/CardFileRecognitionImages.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/PLRegController.h"
#include "app/images/RecognitionImages.h"
#include "app/images/SeparationLibrary.h"
#include "outside/ocr/InkDirection.h"
#include "platform/events/OcrProtocol.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

class DrawnImages : public RecognitionImages {
public:
    QString databaseFolder() const override { return QStringLiteral("/db"); }
    int checkPDF(const QString&) override { return kCardPdf; }
    int acquireCardImages(const QString&, const QString&, CardBitmap* front, CardBitmap*) override
    {
        *front = {image, {0, dpi, dpi, 1}};
        return 0;
    }
    bool rotateBitmap(CardBitmap*, int) override { return false; }
    int rotatePDFPage(const QString& path, int page, int degrees) override
    {
        turned << QStringLiteral("%1:%2:%3").arg(path).arg(page).arg(degrees);
        return 0;
    }
    QImage image;
    int dpi = 300;
    QStringList turned;
};

class Card : public CardRecord {
public:
    Card() { values.insert("face_Image_File", u"c_N1.pdf"_qs); }
    QVariant valueForKey(const QString& key) const override { return values.value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override { values.insert(key, value); }
    QString text(const char* key) const { return values.value(QLatin1String(key)).toString(); }
    QVariantMap values;
};

QString digits(const QString& text) { return QString(text).remove(QRegularExpression(QStringLiteral("[^0-9]"))); }

class Quillant : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString stage = QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR"));
        SeparationLibrary::setApplicationFolder(stage);
        setOcrApplicationFolder(stage);
        setOcrConnector(nullptr);
        setOcrTimeouts(300000, 300000, 300000); // the OCR program under load: only a guard against a hang
    }
    static void TearDownTestSuite() { QuitOCRApplication(); }

    int recognize(const QImage& image, Card* card, int language, int type = 0)
    {
        images.image = image;
        reg.setImages(&images);
        const QList<CardRecord*> cards{card};
        return reg.recongnizeCard({}, &cards, false, type, language);
    }

    DrawnImages images;
    PLRegController reg;
};

TEST_F(Quillant, EnglishCard)
{
    Card card;
    ASSERT_EQ(recognize(englishCard(), &card, 1), 0);
    EXPECT_EQ(card.text("e_Mail"), u"anna.lopez@acme-widgets.com"_qs);
    EXPECT_EQ(digits(card.text("telephone_Number")), u"12175550134"_qs);
    EXPECT_EQ(card.text("full_Name"), u"Anna Lopez"_qs);
    EXPECT_EQ(card.text("family_Name"), u"Lopez"_qs);
    EXPECT_TRUE(card.text("company").contains(u"Acme"_qs)) << card.text("company").toStdString();
    EXPECT_NE(card.text("e_Mail_XY"), u"0/0/0/0"_qs);
    EXPECT_TRUE(images.turned.isEmpty());
}

TEST_F(Quillant, JapaneseCardFoundAutomatically)
{
    Card card;
    ASSERT_EQ(recognize(japaneseCard(), &card, 11), 0);
    EXPECT_EQ(card.text("e_Mail"), u"taro.yamada@yamada-shoji.co.jp"_qs);
    EXPECT_EQ(digits(card.text("telephone_Number")), u"0312345678"_qs);
    EXPECT_FALSE(card.text("full_Name").isEmpty());
    EXPECT_TRUE(card.text("company").contains(u"山田"_qs)) << card.text("company").toStdString();
    // Mapped as Japanese: the company reading comes from the reading library.
    EXPECT_FALSE(card.text("company_Kana").isEmpty());
    EXPECT_NE(card.text("company_Kana"), card.text("company"));
    EXPECT_EQ(card.text("state"), u"東京都"_qs);
    // No furigana is printed: the reading comes from the dictionary, split like the name.
    EXPECT_EQ(card.text("full_Name_Kana").remove(u' '), u"ヤマダタロウ"_qs);
    EXPECT_EQ(card.text("family_Name_Kana"), u"ヤマダ"_qs);
}

// Lines of text drawn black on a white card of 1075 x 650 pixels, in grey.
struct DrawnText {
    QString family;
    int size;
    int x, y;
    QString text;
    bool bold = false;
    double letterSpacing = 0;
    int grey = 0; // of the ink
};

QImage drawnCard(const std::vector<DrawnText>& texts)
{
    QImage image(1075, 650, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (const DrawnText& t : texts) {
        QFont font(t.family);
        font.setPixelSize(t.size);
        font.setBold(t.bold);
        font.setLetterSpacing(QFont::AbsoluteSpacing, t.letterSpacing);
        painter.setFont(font);
        painter.setPen(QColor(t.grey, t.grey, t.grey));
        painter.drawText(t.x, t.y, t.text);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

// A name in large Mincho type, its characters spaced out, beside an address in small type: the
// engine breaks the name into scraps and runs a scrap into the postal code's line.
QImage letterSpacedNameCard()
{
    std::vector<DrawnText> texts = {
        {u"IPAGothic"_qs, 58, 145, 105, u"株式会社北陸精密"_qs},
        {u"IPAMincho"_qs, 34, 56, 298, u"財務部"_qs},
        {u"IPAMincho"_qs, 34, 56, 342, u"所長"_qs},
        {u"IPAMincho"_qs, 22, 527, 408, u"〒310-0021"_qs},
        {u"IPAMincho"_qs, 24, 527, 440, u"水戸市南町3-4-10"_qs},
        {u"DejaVu Sans"_qs, 22, 527, 472, u"TEL 029-532-4176"_qs},
        {u"DejaVu Sans"_qs, 22, 527, 506, u"yabe@hokuriku-seimitsu.co.jp"_qs},
    };
    for (const auto& [x, c] : {std::pair{56, u"矢"_qs}, {136, u"部"_qs}, {296, u"浩"_qs}, {376, u"二"_qs}})
        texts.push_back({u"IPAMincho"_qs, 58, x, 436, c});
    return drawnCard(texts);
}

TEST_F(Quillant, LetterSpacedNameBesideTheAddress)
{
    Card card;
    ASSERT_EQ(recognize(letterSpacedNameCard(), &card, 11), 0);
    EXPECT_EQ(card.text("family_Name"), u"矢部"_qs);
    EXPECT_EQ(card.text("first_Name"), u"浩二"_qs);
    EXPECT_EQ(card.text("zip_PostalCode"), u"310-0021"_qs);
    EXPECT_TRUE(card.text("address").contains(u"水戸市南町3-4-10"_qs)) << card.text("address").toStdString();
}

// A Latin name in large bold type with its letters spaced out: read with the whole card, the
// engine takes gaps between letters for gaps between words ("S a m u el Ba u e r").
QImage letterSpacedLatinNameCard()
{
    return drawnCard({
        {u"Liberation Sans"_qs, 64, 63, 120, u"Samuel Bauer"_qs, true, 4},
        {u"DejaVu Sans"_qs, 22, 720, 80, u"Office (617) 555-0173"_qs},
        {u"DejaVu Sans"_qs, 22, 63, 180, u"Finance Director"_qs},
        {u"DejaVu Sans"_qs, 22, 600, 230, u"E-mail s.bauer@millbrookdairy.com"_qs},
        {u"DejaVu Sans"_qs, 22, 72, 520, u"500 Boylston Street, Suite 1100"_qs},
        {u"DejaVu Sans"_qs, 22, 72, 556, u"Boston, MA 02116"_qs},
    });
}

TEST_F(Quillant, LetterSpacedLatinName)
{
    Card card;
    ASSERT_EQ(recognize(letterSpacedLatinNameCard(), &card, 1), 0);
    EXPECT_EQ(card.text("full_Name"), u"Samuel Bauer"_qs);
    EXPECT_EQ(card.text("family_Name"), u"Bauer"_qs);
}

// A name in hairline type of a light grey, which the engine's layout of the whole card leaves
// unread, is still the name.
TEST_F(Quillant, NameInHairlineGreyTypeIsStillTheName)
{
    Card card;
    ASSERT_EQ(recognize(drawnCard({{u"DejaVu Sans Light"_qs, 64, 70, 120, u"Brendan Fitzgerald"_qs, false, 0, 170},
                                   {u"DejaVu Sans"_qs, 30, 70, 190, u"Chief Operating Officer"_qs},
                                   {u"DejaVu Sans"_qs, 30, 70, 330, u"362 Market Street"_qs},
                                   {u"DejaVu Sans"_qs, 30, 70, 375, u"Chicago, IL 60601"_qs},
                                   {u"DejaVu Sans"_qs, 30, 70, 450, u"Tel: +1 312 555 0199"_qs},
                                   {u"DejaVu Sans"_qs, 30, 70, 495, u"brendan@orchard-foods.com"_qs}}),
                        &card, 11),
              0);
    EXPECT_EQ(card.text("full_Name"), u"Brendan Fitzgerald"_qs);
    EXPECT_EQ(card.text("job_Title"), u"Chief Operating Officer"_qs);
    EXPECT_EQ(card.text("e_Mail"), u"brendan@orchard-foods.com"_qs);
}

// German cards keep the umlauts of their addresses: the English model alone reads "Munster",
// "Minster" and "Dusseldorf".
TEST_F(Quillant, GermanAddressKeepsItsUmlauts)
{
    struct Case {
        QString family;
        int size;
        QString street, town;
    };
    const std::vector<Case> cases = {{u"Liberation Sans"_qs, 26, u"Königsallee 60"_qs, u"40212 Düsseldorf"_qs},
                                     {u"Liberation Sans"_qs, 22, u"Hafenweg 8"_qs, u"48155 Münster"_qs},
                                     {u"DejaVu Serif"_qs, 26, u"Hafenweg 8"_qs, u"48155 Münster"_qs}};
    for (const Case& c : cases) {
        Card card;
        ASSERT_EQ(recognize(drawnCard({{c.family, 44, 80, 110, u"Johanna Keller"_qs},
                                       {c.family, c.size, 80, 160, u"Projektleiterin"_qs},
                                       {c.family, 30, 80, 260, u"Lumen Optics GmbH"_qs},
                                       {c.family, c.size, 80, 400, c.street},
                                       {c.family, c.size, 80, 440, c.town},
                                       {c.family, c.size, 80, 520, u"Tel. +49 251 5462 943"_qs},
                                       {c.family, c.size, 80, 560, u"j.keller@lumen-optics.de"_qs}}),
                            &card, 11),
                  0);
        EXPECT_EQ(card.text("address").simplified().toStdString(), (c.street + u' ' + c.town).toStdString())
            << c.family.toStdString() << ' ' << c.size;
    }
}

// A name whose given name is a kanji the engine's alphabet lacks (栞, read as 葉), with its
// furigana over it.
QImage rareKanjiNameCard()
{
    return drawnCard({{u"IPAGothic"_qs, 50, 80, 100, u"銀嶺製薬株式会社"_qs},
                      {u"IPAMincho"_qs, 30, 80, 250, u"営業部 主任"_qs},
                      {u"IPAMincho"_qs, 22, 80, 305, u"さかべ　しおり"_qs},
                      {u"IPAMincho"_qs, 72, 80, 390, u"坂部　栞"_qs},
                      {u"IPAMincho"_qs, 24, 80, 500, u"〒980-0811 宮城県仙台市青葉区一番町1-2-3"_qs},
                      {u"DejaVu Sans"_qs, 22, 80, 545, u"TEL 022-543-9438"_qs},
                      {u"DejaVu Sans"_qs, 22, 80, 590, u"sakabe@ginrei.co.jp"_qs}});
}

TEST_F(Quillant, KanjiTheEngineCannotReadComesOutAsPrinted)
{
    Card card;
    ASSERT_EQ(recognize(rareKanjiNameCard(), &card, 11), 0);
    EXPECT_EQ(card.text("family_Name"), u"坂部"_qs);
    EXPECT_EQ(card.text("first_Name"), u"栞"_qs);
}

// The postal code directory puts right a code the engine misread, but gives none to a card that
// prints its address without one.
TEST_F(Quillant, AnAddressPrintedWithoutItsPostalCodeGetsNone)
{
    Card card;
    ASSERT_EQ(recognize(drawnCard({{u"IPAGothic"_qs, 50, 80, 100, u"銀嶺製薬株式会社"_qs},
                                   {u"IPAMincho"_qs, 60, 80, 260, u"坂口　修平"_qs},
                                   {u"IPAMincho"_qs, 24, 80, 400, u"宮城県仙台市青葉区一番町1-2-3"_qs},
                                   {u"DejaVu Sans"_qs, 22, 80, 450, u"TEL 022-543-9438"_qs}}),
                        &card, 11),
              0);
    EXPECT_TRUE(card.text("address").contains(u"仙台市青葉区一番町"_qs)) << card.text("address").toStdString();
    EXPECT_EQ(card.text("zip_PostalCode"), QString());
}

// A card in each language of the recognition table, drawn in a typeface of its script.
struct LanguageCard {
    const char* what;
    int language;      // its recognition language
    int foundLanguage; // 'PLRO' offset 8 under Automatic: 1 Japanese, 2 another
    int otherLanguage; // 'PLRO' byte 1 under Automatic: the other language + 1, 0 when not said
    QImage image;
    const char* key;   // a field of the card dictionary
    QString value;     // as printed
};

QImage latinOrCyrillicCard(const std::vector<QString>& lines)
{
    std::vector<DrawnText> texts;
    const int sizes[] = {34, 50, 26, 26, 26, 26, 26};
    const int ys[] = {90, 200, 250, 400, 440, 520, 560};
    for (size_t i = 0; i < lines.size() && i < 7; ++i)
        texts.push_back({u"DejaVu Sans"_qs, sizes[i], 80, ys[i], lines[i]});
    return drawnCard(texts);
}

// Company, name in large type, its romanised reading, title, address, number, e-mail.
QImage eastAsianCard(const std::vector<QString>& lines)
{
    std::vector<DrawnText> texts;
    const int sizes[] = {40, 64, 24, 28, 26, 26, 24};
    const int ys[] = {90, 220, 262, 320, 440, 490, 540};
    for (size_t i = 0; i < lines.size() && i < 7; ++i)
        texts.push_back({i == 2 || i == 6 ? u"DejaVu Sans"_qs : u"WenQuanYi Micro Hei"_qs, sizes[i], 80, ys[i], lines[i]});
    return drawnCard(texts);
}

std::vector<LanguageCard> languageCards()
{
    return {
        {"English", 1, 2, 0, englishCard(), "full_Name", u"Anna Lopez"_qs},
        {"German", 5, 2, 6,
         latinOrCyrillicCard({u"Lumen Optics GmbH"_qs, u"Johanna Keller"_qs, u"Projektleiterin"_qs, u"Königsallee 60"_qs,
                              u"40212 Düsseldorf"_qs, u"Tel. +49 211 5462 943"_qs, u"j.keller@lumen-optics.de"_qs}),
         "address", u"Königsallee 60\n40212 Düsseldorf"_qs},
        {"French", 6, 2, 7,
         latinOrCyrillicCard({u"Société Générale d'Études"_qs, u"Hélène Lefèvre"_qs, u"Directrice financière"_qs, u"12, rue de la Paix"_qs,
                              u"75002 Paris"_qs, u"Tél. +33 1 42 68 53 00"_qs, u"helene.lefevre@etudes.fr"_qs}),
         "full_Name", u"Hélène Lefèvre"_qs},
        {"Italian", 7, 2, 8,
         latinOrCyrillicCard({u"Caffè Moretti S.r.l."_qs, u"Niccolò Ferrari"_qs, u"Direttore commerciale"_qs, u"Via Garibaldi, 24"_qs,
                              u"20121 Milano (MI)"_qs, u"Cell. +39 347 123 4567"_qs, u"n.ferrari@caffemoretti.it"_qs}),
         "full_Name", u"Niccolò Ferrari"_qs},
        {"Spanish", 8, 2, 9,
         latinOrCyrillicCard({u"Cerámica Ávila S.L."_qs, u"Begoña Ibáñez"_qs, u"Directora de marketing"_qs, u"Calle de Alcalá, 45"_qs,
                              u"28014 Madrid"_qs, u"Tfno. +34 915 123 456"_qs, u"b.ibanez@ceramica-avila.es"_qs}),
         "full_Name", u"Begoña Ibáñez"_qs},
        {"Portuguese", 10, 2, 11,
         latinOrCyrillicCard({u"Têxteis do Minho, Lda."_qs, u"João Gonçalves"_qs, u"Diretor comercial"_qs, u"Rua Augusta, 125"_qs,
                              u"1100-048 Lisboa"_qs, u"Telemóvel +351 912 345 678"_qs, u"joao.goncalves@texteis.pt"_qs}),
         "full_Name", u"João Gonçalves"_qs},
        {"Russian", 9, 2, 10,
         latinOrCyrillicCard({u"ООО «Стройинвест»"_qs, u"Дмитрий Волков"_qs, u"Главный инженер"_qs, u"ул. Тверская, д. 12"_qs,
                              u"125009 Москва"_qs, u"Тел. +7 495 123-45-67"_qs, u"d.volkov@stroyinvest.ru"_qs}),
         "company", u"ООО «Стройинвест»"_qs},
        {"Japanese", 0, 1, 0, japaneseCard(), "family_Name", u"山田"_qs},
        {"Chinese (simplified)", 3, 2, 4,
         eastAsianCard({u"北京华信科技有限公司"_qs, u"王小明"_qs, u"Wang Xiaoming"_qs, u"销售经理"_qs, u"北京市朝阳区建国路88号"_qs,
                        u"电话 +86 10 8520 1234"_qs, u"wang.xiaoming@huaxin.com.cn"_qs}),
         "full_Name", u"王 小明"_qs},
        {"Chinese (traditional)", 2, 2, 3,
         eastAsianCard({u"台灣精密機械股份有限公司"_qs, u"陳志明"_qs, u"Chen Chih-Ming"_qs, u"業務經理"_qs, u"台北市信義區信義路五段7號"_qs,
                        u"電話 +886 2 2345 6789"_qs, u"chen@twprecision.com.tw"_qs}),
         "company", u"台灣精密機械股份有限公司"_qs},
        {"Chinese (traditional), its postal code before the town", 2, 2, 3,
         eastAsianCard({u"大同顧問股份有限公司"_qs, u"林美玲"_qs, u"Lin Mei-Ling"_qs, u"業務經理"_qs, u"106台北市大安區敦化南路二段120號"_qs,
                        u"電話 +886 2 2127 7213"_qs, u"lin@datong-consult.com.tw"_qs}),
         "zip_PostalCode", u"106"_qs},
        {"Korean", 4, 2, 5,
         eastAsianCard({u"(주)한울테크"_qs, u"김민준"_qs, u"Kim Min-jun"_qs, u"과장"_qs, u"서울특별시 강남구 테헤란로 123"_qs,
                        u"전화 02-1234-5678"_qs, u"minjun.kim@hanultech.co.kr"_qs}),
         "full_Name", u"김민준"_qs},
        // A name in light type, which the French model reads without its diaeresis.
        {"French, a name read without its accent", 6, 2, 7,
         drawnCard({{u"DejaVu Sans Light"_qs, 60, 60, 240, u"Loïc Delacroix"_qs},
                    {u"DejaVu Sans"_qs, 26, 60, 330, u"Architecte"_qs},
                    {u"DejaVu Sans"_qs, 28, 60, 400, u"Vignobles de la Côte SARL"_qs},
                    {u"DejaVu Sans"_qs, 24, 570, 260, u"Tél. 03 30 16 94 72"_qs},
                    {u"DejaVu Sans"_qs, 24, 570, 305, u"152 allée des Tilleuls"_qs},
                    {u"DejaVu Sans"_qs, 24, 570, 350, u"59000 Lille"_qs},
                    {u"DejaVu Sans"_qs, 22, 570, 420, u"loic.delacroix@vignobles-cote.fr"_qs}}),
         "full_Name", u"Loïc Delacroix"_qs},
    };
}

// A Korean card as cards are set: the name in large type, whose final consonants the engine's
// layout takes for a line of their own; the department and title on one line; the address wrapped
// over three lines.
QImage koreanCard()
{
    const QString gothic = u"NanumBarunGothic"_qs;
    return drawnCard({
        {gothic, 84, 84, 165, u"강성민"_qs},
        {u"DejaVu Sans"_qs, 24, 86, 215, u"Kang Sung-min"_qs},
        {gothic, 28, 84, 270, u"고객지원팀 상무이사"_qs},
        {gothic, 36, 84, 350, u"(주)누리바이오"_qs},
        {gothic, 24, 84, 420, u"(06236) 서울특별시 강남구"_qs},
        {gothic, 24, 84, 456, u"테헤란로 144,"_qs},
        {gothic, 24, 84, 492, u"한솔빌딩 23층"_qs},
        {gothic, 24, 84, 545, u"전화 +82 2 6547 5636"_qs},
        {u"DejaVu Sans"_qs, 24, 84, 590, u"kang@nuribio.com"_qs},
    });
}

TEST_F(Quillant, KoreanCardFoundAutomatically)
{
    Card card;
    ASSERT_EQ(recognize(koreanCard(), &card, 11), 0);
    EXPECT_EQ(card.text("full_Name").toStdString(), "강성민");
    EXPECT_EQ(card.text("department").toStdString(), "고객지원팀");
    EXPECT_EQ(card.text("job_Title").toStdString(), "상무이사");
    EXPECT_EQ(card.text("company").toStdString(), "(주)누리바이오");
    EXPECT_EQ(card.text("address").toStdString(), "(06236) 서울특별시 강남구 테헤란로 144, 한솔빌딩 23층");
    EXPECT_EQ(digits(card.text("telephone_Number")), u"82265475636"_qs);
}

// A Korean card whose name stands at the right beside the company's lines and a round logo: the
// ink of the name and of the company's lines runs into one row across the card, which the
// engine's layout left unread.
TEST_F(Quillant, KoreanNameBesideTheCompanysLines)
{
    const QString gothic = u"NanumBarunGothic"_qs;
    QImage image = drawnCard({
                                 {gothic, 40, 190, 110, u"주식회사 대한정공"_qs},
                                 {u"DejaVu Sans"_qs, 22, 190, 148, u"Daehan Precision Inc."_qs},
                                 {gothic, 76, 780, 210, u"방용훈"_qs},
                                 {gothic, 28, 870, 268, u"인재개발원"_qs},
                                 {gothic, 28, 955, 310, u"감사"_qs},
                                 {u"DejaVu Sans"_qs, 26, 60, 480, u"Tel. 061.941.1668"_qs},
                                 {u"DejaVu Sans"_qs, 22, 60, 520, u"yonghoon.bang@daehan-pk.com"_qs},
                                 {gothic, 26, 545, 500, u"(58217) 전라남도 나주시"_qs},
                                 {gothic, 26, 545, 540, u"빛가람로 330, 22층"_qs},
                             })
                       .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 18));
    painter.drawEllipse(QPoint(115, 110), 38, 38);
    painter.end();
    Card card;
    ASSERT_EQ(recognize(image.convertToFormat(QImage::Format_Grayscale8), &card, 11), 0);
    EXPECT_EQ(card.text("full_Name").toStdString(), "방용훈");
    EXPECT_EQ(card.text("department").toStdString(), "인재개발원");
    EXPECT_EQ(card.text("job_Title").toStdString(), "감사");
    EXPECT_EQ(card.text("company").toStdString(), "주식회사 대한정공");
}

// A Korean card in a serif face whose address names a bank's building on its second line, which
// the engine boxes taller than the company's line: the company is still the line with the legal
// form, and the building stays in the address.
TEST_F(Quillant, KoreanBuildingNamedAfterABankIsNoCompany)
{
    const QString myeongjo = u"NanumMyeongjo"_qs;
    Card card;
    ASSERT_EQ(recognize(drawnCard({{myeongjo, 64, 60, 110, u"주인호"_qs},
                                   {u"DejaVu Serif"_qs, 20, 62, 165, u"CHU In-ho"_qs},
                                   {myeongjo, 26, 60, 215, u"연구기획팀"_qs},
                                   {myeongjo, 26, 60, 255, u"부회장"_qs},
                                   {myeongjo, 40, 770, 250, u"(주)인터링크"_qs},
                                   {myeongjo, 26, 60, 480, u"주소: 경상남도 진주시 문산읍"_qs},
                                   {myeongjo, 26, 60, 520, u"월아산로 221, 신한은행빌딩 27층"_qs},
                                   {u"DejaVu Serif"_qs, 24, 60, 565, u"Tel      055-758-9199"_qs},
                                   {u"DejaVu Serif"_qs, 24, 60, 605, u"E-mail inho@interlink-kr.com"_qs}}),
                        &card, 11),
              0);
    EXPECT_EQ(card.text("full_Name").toStdString(), "주인호");
    EXPECT_EQ(card.text("company").toStdString(), "(주)인터링크");
    EXPECT_EQ(card.text("address").toStdString(), "경상남도 진주시 문산읍 월아산로 221, 신한은행빌딩 27층");
}

// A Korean card whose address opens with its label and postal code alone on a line, the address
// under it: the code starts the address and is its postal code.
TEST_F(Quillant, KoreanPostalCodeAloneOverItsAddress)
{
    const QString gothic = u"NanumBarunGothic"_qs;
    Card card;
    ASSERT_EQ(recognize(drawnCard({{gothic, 40, 60, 110, u"(주) 새솔건설"_qs},
                                   {gothic, 64, 760, 190, u"이세영"_qs},
                                   {gothic, 26, 760, 260, u"자금팀 연구원"_qs},
                                   {u"DejaVu Sans"_qs, 22, 60, 480, u"Tel 02.6396.8601"_qs},
                                   {u"DejaVu Sans"_qs, 22, 60, 520, u"lee@saesol.com"_qs},
                                   {gothic, 24, 500, 450, u"주소: (03154)"_qs},
                                   {gothic, 24, 500, 490, u"서울특별시 종로구 세종대로 52"_qs}}),
                        &card, 11),
              0);
    EXPECT_EQ(card.text("zip_PostalCode").toStdString(), "03154");
    EXPECT_EQ(card.text("address").toStdString(), "(03154) 서울특별시 종로구 세종대로 52");
}

// A Korean card whose company is set in light grey beside a dark logo: the company's row, which
// the engine's layout leaves unread, is read without the logo.
TEST_F(Quillant, KoreanCompanyInGreyBesideItsLogo)
{
    const QString gothic = u"NanumBarunGothic"_qs;
    QImage image = drawnCard({{gothic, 34, 160, 112, u"주식회사 한빛소프트"_qs, false, 0, 185},
                              {gothic, 26, 500, 200, u"과장"_qs},
                              {gothic, 64, 440, 290, u"서지은"_qs},
                              {u"DejaVu Sans"_qs, 20, 480, 330, u"Seo Ji-eun"_qs},
                              {gothic, 24, 60, 470, u"주소: (21998) 인천광역시"_qs},
                              {gothic, 24, 60, 505, u"연수구 컨벤시아대로 31"_qs},
                              {u"DejaVu Sans"_qs, 24, 540, 540, u"E-mail: j.seo@hanbitsoft.co.kr"_qs}})
                       .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(80, 80, 80));
    painter.drawPolygon(QPolygon({QPoint(100, 60), QPoint(140, 100), QPoint(100, 140), QPoint(60, 100)}));
    painter.end();
    // A scanner's grain over paper of grey 240.
    QImage scanned = image.convertToFormat(QImage::Format_Grayscale8);
    QRandomGenerator grain(49);
    for (int y = 0; y < scanned.height(); ++y) {
        uchar* row = scanned.scanLine(y);
        for (int x = 0; x < scanned.width(); ++x)
            row[x] = uchar(std::clamp(row[x] * 240 / 255 + int(grain.bounded(25)) - 12, 0, 255));
    }
    Card card;
    ASSERT_EQ(recognize(scanned, &card, 11), 0);
    EXPECT_EQ(card.text("full_Name").toStdString(), "서지은");
    EXPECT_EQ(card.text("company").toStdString(), "주식회사 한빛소프트");
}

// A Chinese card in two blocks parted by a rule: the name set large with its characters spaced
// out, the title and the company to the left; the numbers and an address of three lines to the
// right.
TEST_F(Quillant, ChineseCardInTwoBlocks)
{
    const QString hei = u"WenQuanYi Micro Hei"_qs;
    QImage image = drawnCard({
        {hei, 64, 70, 215, u"麥嘉欣"_qs, false, 14},
        {hei, 26, 70, 290, u"資深顧問"_qs},
        {hei, 36, 70, 400, u"鼎泰豐盛集團"_qs},
        {u"DejaVu Sans"_qs, 24, 580, 200, u"+852 2966 7395"_qs},
        {u"DejaVu Sans"_qs, 24, 580, 245, u"mak_y@dintai-fs.com.hk"_qs},
        {hei, 26, 580, 320, u"地址：新界荃灣"_qs},
        {hei, 26, 580, 362, u"楊屋道12號"_qs},
        {hei, 26, 580, 404, u"新光摩天大樓11樓之4"_qs},
    });
    QPainter rule(&image);
    rule.fillRect(530, 60, 3, 530, Qt::black);
    rule.end();
    Card card;
    ASSERT_EQ(recognize(image, &card, 2), 0);
    EXPECT_EQ(card.text("full_Name").toStdString(), "麥 嘉欣");
    EXPECT_EQ(card.text("company").toStdString(), "鼎泰豐盛集團");
    EXPECT_EQ(card.text("address").toStdString(), "新界荃灣楊屋道12號 新光摩天大樓11樓之4");
}

// A card in Latin letters but for the name, set large in Hangul: the English model reads the rest
// well, and the name is the one line it could not read.
TEST_F(Quillant, HangulNameOnACardInLatinLetters)
{
    Card card;
    ASSERT_EQ(recognize(drawnCard({{u"NanumBarunGothic"_qs, 72, 70, 150, u"조지은"_qs},
                                   {u"DejaVu Sans"_qs, 24, 70, 200, u"Nuri Bio Inc."_qs},
                                   {u"DejaVu Sans"_qs, 26, 600, 440, u"T: +82 42 903 4277"_qs},
                                   {u"DejaVu Sans"_qs, 26, 600, 490, u"jieun-cho@nuribio.com"_qs},
                                   {u"DejaVu Sans"_qs, 26, 600, 540, u"https://nuribio.com"_qs}}),
                        &card, 11),
              0);
    EXPECT_EQ(card.text("full_Name").toStdString(), "조지은");
    EXPECT_EQ(card.text("e_Mail"), u"jieun-cho@nuribio.com"_qs);
}

// The 'PLRS' status and the 'PLRO' block of one card sent to the OCR application as it is.
std::pair<int32_t, QByteArray> orientationOf(const QImage& card, int language)
{
    const QImage grey = card.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;
    for (int y = 0; y < grey.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(grey.constScanLine(y)), grey.width());
    QByteArray pa(80, '\0'), info(24, '\0');
    ocr::writeI32(reinterpret_cast<uint8_t*>(pa.data()) + 20, grey.width() - 1);
    ocr::writeI32(reinterpret_cast<uint8_t*>(pa.data()) + 24, grey.height() - 1);
    ocr::writeI32(reinterpret_cast<uint8_t*>(pa.data()) + 60, language);
    auto* in = reinterpret_cast<uint8_t*>(info.data());
    ocr::writeU16(in, uint16_t(grey.width()));
    ocr::writeU16(in + 2, uint16_t(grey.height()));
    ocr::writeU16(in + 4, uint16_t(grey.width()));
    in[6] = 2;
    ocr::writeU16(in + 8, 300);
    ocr::writeU16(in + 10, 300);
    ocr::writeU32(in + 12, uint32_t(pixels.size()));
    in[16] = 8;
    QByteArray result, orientation;
    int32_t status = -1;
    if (PLSendEventToOCR(ocr::kEventRun, {ocr::kKeyParam, pa.constData(), 80}, {ocr::kKeyImageInfo, info.constData(), 24},
                         {ocr::kKeyImage, pixels.constData(), int32_t(pixels.size())}, &status, {ocr::kKeyResult, &result},
                         {ocr::kKeyOrientation, &orientation})
        != 0)
        return {-1, {}};
    return {status, orientation};
}

// Every language of the table: a card read in its language keeps its script and accents, and
// Automatic finds the language, says so in 'PLRO' and reads the card as well.
TEST_F(Quillant, EveryLanguageOfTheTableReadChosenAndFoundAutomatically)
{
    ASSERT_TRUE(LaunchOCRApplication());
    for (const LanguageCard& c : languageCards()) {
        SCOPED_TRACE(c.what);
        Card chosen, automatic;
        ASSERT_EQ(recognize(c.image, &chosen, c.language), 0);
        EXPECT_EQ(chosen.text(c.key).toStdString(), c.value.toStdString()) << "read in the language chosen";
        ASSERT_EQ(recognize(c.image, &automatic, 11), 0);
        EXPECT_EQ(automatic.text(c.key).toStdString(), c.value.toStdString()) << "read with the language found";
        const auto [status, orientation] = orientationOf(c.image, 11);
        ASSERT_EQ(status, 0);
        ASSERT_EQ(size_t(orientation.size()), ocr::kOrientationSize);
        EXPECT_EQ(ocr::readI32(reinterpret_cast<const uint8_t*>(orientation.constData()) + ocr::kOrientationLanguageOffset), c.foundLanguage);
        EXPECT_EQ(int(uint8_t(orientation.at(int(ocr::kOrientationFoundOtherOffset)))), c.otherLanguage);
    }
    // The Chinese card found automatically is mapped as Chinese: its romanised name is the reading
    // of its family name first.
    Card chinese;
    ASSERT_EQ(recognize(languageCards()[8].image, &chinese, 11), 0);
    EXPECT_EQ(chinese.text("family_Name"), u"王"_qs);
    EXPECT_EQ(chinese.text("first_Name"), u"小明"_qs);
    EXPECT_EQ(chinese.text("family_Name_Kana"), u"Wang"_qs);
    EXPECT_EQ(chinese.text("first_Name_Kana"), u"Xiaoming"_qs);
}

// A card whose language's data is not installed: the language chosen ends the run with message 95,
// Automatic reads the card as far as it can and ends with it once the cards are written; either
// names the package to install.
TEST_F(Quillant, MissingLanguageDataNamesItsPackage)
{
    QTemporaryDir temp;
    const QDir installed(u"/usr/share/tesseract-ocr/5/tessdata"_qs);
    const std::vector<LanguageCard> cards = languageCards();
    const struct {
        size_t card;
        int language;
        const char* removed;
        const char* package;
    } cases[] = {
        {2, 6, "fra", "tesseract-ocr-fra"},
        {2, 11, "fra", "tesseract-ocr-fra"},
        {6, 11, "rus", "tesseract-ocr-rus"},
        {10, 4, "kor", "tesseract-ocr-kor"},
        {8, 11, "chi_sim chi_tra", "tesseract-ocr-chi-sim"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.package);
        const QString tessdata = temp.filePath(QString::number(&c - cases));
        QDir().mkpath(tessdata);
        const QStringList removed = QString::fromLatin1(c.removed).split(u' ');
        for (const QString& model : installed.entryList({u"*.traineddata"_qs})) {
            if (!removed.contains(model.section(u'.', 0, 0))) {
                ASSERT_TRUE(QFile::link(installed.filePath(model), tessdata + u'/' + model));
            }
        }
        QuitOCRApplication();
        qputenv("TESSDATA_PREFIX", QFile::encodeName(tessdata));
        Card card;
        EXPECT_EQ(recognize(cards[c.card].image, &card, c.language), 95);
        EXPECT_EQ(reg.missingLanguagePackage(), QString::fromLatin1(c.package));
        if (c.language == 11) {
            EXPECT_TRUE(card.text("e_Mail").contains(u'@')) << "the card is read as far as the data goes";
        }
    }
    QuitOCRApplication();
    qunsetenv("TESSDATA_PREFIX");
}

TEST_F(Quillant, TurnedCardComesOutUpright)
{
    Card card;
    ASSERT_EQ(recognize(turnedClockwise(englishCard()), &card, 1), 0);
    EXPECT_EQ(card.text("e_Mail"), u"anna.lopez@acme-widgets.com"_qs);
    // The page was found turned by a quarter clockwise: three more quarters make it upright.
    EXPECT_EQ(images.turned, QStringList{u"/db/Images/c_N1.pdf:0:270"_qs});
    // Boxes are in the upright frame: 650 pixels high.
    const QStringList box = card.text("e_Mail_XY").split(u'/');
    ASSERT_EQ(box.size(), 4);
    EXPECT_LT(box[1].toInt() + box[3].toInt(), 650);
}

TEST_F(Quillant, SkewedFaintCardOnADarkBedReadsLikeTheCleanOne)
{
    Card clean;
    ASSERT_EQ(recognize(englishCard(), &clean, 11), 0);
    const char* keys[] = {"full_Name", "company", "job_Title", "telephone_Number", "fax_Number", "mobile_Number",
                          "e_Mail", "web_Page_Address", "address", "zip_PostalCode"};
    for (const double degrees : {6.5, -3.0}) {
        const QImage scan = scannedCard(englishCard(), degrees, 60, 110, 210);
        Card card;
        ASSERT_EQ(recognize(scan, &card, 11), 0) << degrees;
        for (const char* key : keys)
            EXPECT_EQ(card.text(key), clean.text(key)) << key << " at " << degrees;
        // The e-mail's box lies where the e-mail stands on the skewed image.
        const auto centre = [](const Card& c, int height) {
            const QStringList box = c.text("e_Mail_XY").split(u'/');
            return box.size() == 4 ? QPointF(box[0].toDouble() + box[2].toDouble() / 2,
                                             height - box[1].toDouble() - box[3].toDouble() / 2)
                                   : QPointF();
        };
        const QPointF expected = scanTurn(englishCard().size(), degrees).map(centre(clean, englishCard().height()));
        const QPointF found = centre(card, scan.height());
        EXPECT_LT((found - expected).manhattanLength(), 16) << degrees;
    }
}

TEST_F(Quillant, FieldTagReadsOnlyTheBox)
{
    Card card;
    card.values.insert("full_Name", u"Keep"_qs);
    images.image = englishCard();
    reg.setImages(&images);
    const QList<CardRecord*> cards{&card};
    // The e-mail line, 410 to 475 pixels from the top of the drawn card.
    ASSERT_EQ(reg.recongnizeDetailCard(QRectF(40, 175, 1000, 65), 27, 1, &cards), 0);
    EXPECT_EQ(card.text("e_Mail"), u"anna.lopez@acme-widgets.com"_qs);
    EXPECT_EQ(card.text("full_Name"), u"Keep"_qs);
}

TEST_F(Quillant, BadInputGetsAClearStatusAndTheApplicationLivesOn)
{
    ASSERT_TRUE(LaunchOCRApplication());
    int32_t status = -1;
    ASSERT_EQ(PLSendOpenEventToOCR(&status), 0);
    ASSERT_EQ(status, 0);
    auto run = [](QByteArray info, const QByteArray& image, int width, int height) {
        QByteArray pa(80, '\0');
        ocr::writeI32(reinterpret_cast<uint8_t*>(pa.data()) + 20, width - 1);
        ocr::writeI32(reinterpret_cast<uint8_t*>(pa.data()) + 24, height - 1);
        ocr::writeI32(reinterpret_cast<uint8_t*>(pa.data()) + 60, 1);
        QByteArray result, orientation;
        int32_t s = -1;
        const int16_t error = PLSendEventToOCR(
            ocr::kEventRun, {ocr::kKeyParam, pa.constData(), 80}, {ocr::kKeyImageInfo, info.constData(), 24},
            {ocr::kKeyImage, image.constData(), int32_t(image.size())}, &s, {ocr::kKeyResult, &result},
            {ocr::kKeyOrientation, &orientation});
        return error != 0 ? int(error) : int(s);
    };
    auto info = [](int width, int height, uint32_t size) {
        QByteArray in(24, '\0');
        auto* p = reinterpret_cast<uint8_t*>(in.data());
        ocr::writeU16(p, uint16_t(width));
        ocr::writeU16(p + 2, uint16_t(height));
        ocr::writeU16(p + 4, uint16_t(width));
        p[6] = 2;
        ocr::writeU32(p + 12, size);
        p[16] = 8;
        return in;
    };
    EXPECT_EQ(run(info(0, 0, 0), QByteArray(), 1, 1), 1007);
    EXPECT_EQ(run(info(100, 100, 10000), QByteArray(5000, '\xFF'), 100, 100), 1007);
    EXPECT_EQ(run(info(20000, 20000, 400000000u), QByteArray(16, '\0'), 20000, 20000), 1007);
    EXPECT_TRUE(isOCRApplicationRunning());

    QImage noise(600, 400, QImage::Format_Grayscale8);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y) {
        uchar* row = noise.scanLine(y);
        for (int x = 0; x < noise.width(); ++x)
            row[x] = uchar(random.bounded(256));
    }
    Card card;
    // A language whose data is not installed: 1008, which the run reports as 95.
    if (!QFile::exists(u"/usr/share/tesseract-ocr/5/tessdata/deu.traineddata"_qs)) {
        Card german;
        EXPECT_EQ(recognize(englishCard(), &german, 5), 95);
    }
    const int result = recognize(noise, &card, 1);
    EXPECT_TRUE(result == 0) << result; // no text clears the card (1001), junk is mapped: both go on
    EXPECT_TRUE(isOCRApplicationRunning());
}

TEST_F(Quillant, CardsThatReadBadlyGetOneReplyEach)
{
    // Automatic language tries every reading a bad card allows; each card still gets its reply.
    QImage blank(1075, 650, QImage::Format_Grayscale8);
    blank.fill(255);
    const QImage card = englishCard().convertToFormat(QImage::Format_Grayscale8);
    const struct {
        QImage image;
        const char* what;
    } cases[] = {
        {blank, "blank"},
        {card.mirrored(true, false), "mirrored"},
        {card.mirrored(true, true), "upside down"},
    };
    for (const auto& c : cases) {
        Card result;
        result.values.insert("e_Mail", u"old@example.com"_qs);
        EXPECT_EQ(recognize(c.image, &result, 11), 0) << c.what;
        EXPECT_TRUE(isOCRApplicationRunning()) << c.what;
    }
    Card upsideDown;
    ASSERT_EQ(recognize(card.mirrored(true, true), &upsideDown, 11), 0);
    EXPECT_EQ(upsideDown.text("e_Mail"), u"anna.lopez@acme-widgets.com"_qs);
}

TEST_F(Quillant, CardOfThreeHundredLinesOfSmallPrint)
{
    // 91 x 55 mm at 1,200 dpi, every line of it printed: the reply comes within the two minutes
    // Pelmora waits for one, however busy the machine (the reading stops at 30 seconds; laying out
    // the page before it and the lines after it take what the machine gives them), and what it
    // holds is what the card prints or nothing.
    const QImage small = smallPrintCard();
    images.dpi = 1200;
    Card card;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(recognize(small, &card, 11), 0);
    const qint64 elapsed = clock.elapsed();
    EXPECT_LT(elapsed, 120000);
    EXPECT_TRUE(isOCRApplicationRunning());
    // A machine busy enough to stop the reading at its 30-second limit gets what was read so far,
    // which may be anything: the content is judged only when the reading ran its course.
    if (elapsed >= 30000)
        return;
    for (const char* key : {"full_Name", "company", "job_Title", "department", "telephone_Number", "fax_Number",
                            "mobile_Number", "zip_PostalCode", "address"})
        EXPECT_EQ(card.text(key), QString()) << key;
    const QString mail = card.text("e_Mail");
    EXPECT_TRUE(mail.isEmpty() || QRegularExpression(u"^x[0-9]+@example\\.com$"_qs).match(mail).hasMatch())
        << mail.toStdString();
}

// A 1-bit card page whose samples say 1 for black, as some scanners write them (Decode [1 0]).
testpdf::Image deviceBlackImage(const QImage& grey)
{
    const int rowBytes = (grey.width() + 7) / 8;
    QByteArray samples(rowBytes * grey.height(), '\0');
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            if (row[x] < 128)
                samples[y * rowBytes + x / 8] = char(uchar(samples[y * rowBytes + x / 8]) | (0x80 >> (x % 8)));
        }
    }
    testpdf::Image image = testpdf::flateImage(grey.width(), grey.height(), 1, "/DeviceGray", samples);
    image.decode = "[1 0]";
    return image;
}

TEST_F(Quillant, CardFilesOfTheOpenDatabase)
{
    QTemporaryDir db;
    ASSERT_TRUE(QDir(db.path()).mkdir(u"Images"_qs));
    OpenDatabase openDatabase;
    openDatabase.choose(db.path());
    auto writeCard = [&](const QString& name, const testpdf::Image& image, double widthPt, double heightPt) {
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(image, widthPt, heightPt));
        return testpdf::writePdf(db.filePath(u"Images/"_qs + name), document);
    };
    // 1,075 x 650 pixels at 300 dpi.
    ASSERT_TRUE(writeCard(u"jpeg_N1.pdf"_qs, testpdf::jpegImage(englishCard(1).convertToFormat(QImage::Format_RGB888)), 258, 156));
    ASSERT_TRUE(writeCard(u"black_N1.pdf"_qs, deviceBlackImage(englishCard(2)), 258, 156));
    ASSERT_TRUE(writeCard(u"turned_N1.pdf"_qs,
                          testpdf::jpegImage(turnedClockwise(englishCard(3)).convertToFormat(QImage::Format_RGB888)),
                          156, 258));
    ASSERT_TRUE(writeCard(u"japanese_N1.pdf"_qs, testpdf::jpegImage(japaneseCard().convertToFormat(QImage::Format_RGB888)),
                          258, 156));
    Card jpeg, black, turned, japanese;
    japanese.values.insert("face_Image_File", u"japanese_N1.pdf"_qs);
    jpeg.values.insert("face_Image_File", u"jpeg_N1.pdf"_qs);
    black.values.insert("face_Image_File", u"black_N1.pdf"_qs);
    turned.values.insert("face_Image_File", u"turned_N1.pdf"_qs);
    CardFileRecognitionImages cardFiles(openDatabase);
    PLRegController files; // the card image files of the open database
    files.setImages(&cardFiles);
    const QList<CardRecord*> cards{&jpeg, &black, &turned};
    ASSERT_EQ(files.recongnizeCard({}, &cards, false, 0, 1), 0);
    const QList<CardRecord*> japaneseCards{&japanese};
    ASSERT_EQ(files.recongnizeCard({}, &japaneseCards, false, 0, 0), 0);
    EXPECT_EQ(japanese.text("e_Mail"), u"taro.yamada@yamada-shoji.co.jp"_qs);
    EXPECT_EQ(digits(japanese.text("telephone_Number")), u"0312345678"_qs);
    EXPECT_EQ(japanese.text("family_Name"), u"山田"_qs);
    EXPECT_EQ(japanese.text("first_Name"), u"太郎"_qs);
    EXPECT_FALSE(japanese.text("company").isEmpty());
    EXPECT_EQ(jpeg.text("e_Mail"), u"brian.lopez@acme-widgets.com"_qs);
    EXPECT_EQ(black.text("e_Mail"), u"clara.lopez@acme-widgets.com"_qs);
    EXPECT_EQ(turned.text("e_Mail"), u"daniel.lopez@acme-widgets.com"_qs);
    // The turned card's page now shows it upright.
    CardBitmap front, back;
    ASSERT_EQ(AcquireCardImages(db.filePath(u"Images/turned_N1.pdf"_qs), QString(), &front, &back), 0);
    EXPECT_EQ(front.info.rotation, 270);
}

// A card set in columns, 650 x 1075 pixels: each column's characters from top to bottom, its
// right edge at `right`; Latin letters and digits lie on their side, a dash stands as a stroke.
struct DrawnColumn {
    QString family;
    int size;
    int right, top;
    QString text;
};

QImage columnCard(const std::vector<DrawnColumn>& columns, const std::vector<DrawnText>& rows)
{
    QImage image(650, 1075, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (const DrawnColumn& c : columns) {
        QFont font(c.family);
        font.setPixelSize(c.size);
        painter.setFont(font);
        int y = c.top;
        for (qsizetype i = 0; i < c.text.size();) {
            const QChar ch = c.text.at(i);
            if (ch == u'-') {
                painter.fillRect(c.right - c.size / 2 - 1, y + c.size / 5, 3, c.size * 3 / 5, Qt::black);
                y += c.size;
                ++i;
            } else if (ch.unicode() < 0x80 && ch != u' ') {
                qsizetype end = i;
                while (end < c.text.size() && c.text.at(end).unicode() < 0x80 && c.text.at(end) != u' ' && c.text.at(end) != u'-')
                    ++end;
                const QString run = c.text.mid(i, end - i);
                painter.save();
                painter.translate(c.right - c.size * 4 / 5, y);
                painter.rotate(90);
                painter.drawText(0, 0, run);
                painter.restore();
                y += painter.fontMetrics().horizontalAdvance(run) + c.size / 4;
                i = end;
            } else {
                painter.drawText(QRect(c.right - c.size, y, c.size, c.size), Qt::AlignCenter, QString(ch));
                y += c.size * 21 / 20;
                ++i;
            }
        }
    }
    for (const DrawnText& t : rows) {
        QFont font(t.family);
        font.setPixelSize(t.size);
        painter.setFont(font);
        painter.setPen(QColor(t.grey, t.grey, t.grey));
        painter.drawText(t.x, t.y, t.text);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

// A Japanese card in vertical writing, numbers in kanji numerals, the e-mail across at its foot.
// The name's reading stands beside it in two parts, each beside its part of the name.
QImage japaneseColumnCard(const QString& nameFont, const QString& family, const QString& given, const QString& familyReading,
                          const QString& givenReading)
{
    return columnCard(
        {
            {u"IPAMincho"_qs, 44, 600, 90, u"株式会社光陽電機"_qs},
            {u"IPAMincho"_qs, 32, 530, 130, u"営業部　部長"_qs},
            {u"IPAMincho"_qs, 20, 470, 180, familyReading},
            {u"IPAMincho"_qs, 20, 470, 180 + int(family.size() + 1) * 88, givenReading},
            {nameFont, 84, 440, 170, family + u'　' + given},
            {u"IPAMincho"_qs, 28, 300, 100, u"〒104-0061"_qs},
            {u"IPAMincho"_qs, 30, 245, 100, u"東京都中央区銀座四丁目五番六号"_qs},
            {u"IPAMincho"_qs, 28, 185, 100, u"電話　03-3567-8901"_qs},
            {u"IPAMincho"_qs, 28, 130, 100, u"携帯　090-1234-5678"_qs},
        },
        {{u"DejaVu Sans"_qs, 26, 60, 1010, u"k.yamaguchi@koyo-denki.co.jp"_qs}});
}

TEST_F(Quillant, VerticalJapaneseCardReadsInItsColumns)
{
    const QImage image = japaneseColumnCard(u"IPAMincho"_qs, u"山口"_qs, u"健一"_qs, u"ヤマグチ"_qs, u"ケンイチ"_qs);
    Card card;
    ASSERT_EQ(recognize(image, &card, 11), 0);
    EXPECT_EQ(card.text("full_Name").remove(u' '), u"山口健一"_qs);
    EXPECT_EQ(card.text("full_Name_Kana").remove(u' '), u"ヤマグチケンイチ"_qs);
    EXPECT_TRUE(card.text("company").contains(u"光陽電機"_qs)) << card.text("company").toStdString();
    EXPECT_EQ(card.text("zip_PostalCode"), u"104-0061"_qs);
    // The address keeps its numerals as printed.
    EXPECT_TRUE(card.text("address").contains(u"中央区銀座四丁目五番六号"_qs)) << card.text("address").toStdString();
    EXPECT_EQ(digits(card.text("telephone_Number")), u"0335678901"_qs);
    EXPECT_EQ(digits(card.text("mobile_Number")), u"09012345678"_qs);
    EXPECT_EQ(card.text("e_Mail"), u"k.yamaguchi@koyo-denki.co.jp"_qs);
    // Mapped as Japanese, and not turned: the name's box stands in its column.
    EXPECT_EQ(card.text("state"), u"東京都"_qs);
    EXPECT_TRUE(images.turned.isEmpty());
    const QStringList box = card.text("full_Name_XY").split(u'/');
    ASSERT_EQ(box.size(), 4);
    EXPECT_GT(box[3].toInt(), box[2].toInt());
}

// The e-mail and web rows at the foot of a card in columns, in small light type: the reading of
// the whole card across loses words of them, the foot read alone does not.
TEST_F(Quillant, RowsAtTheFootOfAColumnCardReadWhole)
{
    const QString type = u"IPAexGothic"_qs;
    const QImage image = columnCard(
        {
            {type, 34, 611, 91, u"若松印刷有限会社"_qs},
            {type, 30, 530, 145, u"顧問"_qs},
            {type, 70, 481, 158, u"大久保　秀樹"_qs},
            {type, 26, 328, 83, u"〒611-0021"_qs},
            {type, 36, 286, 115, u"京都府宇治市宇治4-32"_qs},
            {type, 36, 240, 113, u"前橋本町ビル2階"_qs},
            {type, 30, 168, 114, u"TEL +81-774-99-8439"_qs},
        },
        {{u"Cantarell Light"_qs, 21, 64, 977, u"Email. okubo_h@wakamatsu-print.com"_qs},
         {u"Cantarell Light"_qs, 21, 63, 1008, u"URL. https://wakamatsu-print.com"_qs}});
    Card card;
    ASSERT_EQ(recognize(image, &card, 11), 0);
    EXPECT_EQ(card.text("e_Mail"), u"okubo_h@wakamatsu-print.com"_qs);
    EXPECT_EQ(card.text("web_Page_Address"), u"https://wakamatsu-print.com"_qs);
}

// A card in columns scanned askew: its long e-mail and web rows lean with it, and the reading across
// cut them at a hyphen ("…@sakura" and "-design.jp"); read straight they stay whole.
TEST_F(Quillant, RowsAtTheFootOfALeaningColumnCardReadWhole)
{
    const QString type = u"IPAexGothic"_qs;
    const QImage upright = columnCard(
        {
            {type, 34, 611, 91, u"株式会社さくらデザイン"_qs},
            {type, 30, 530, 200, u"課長補佐"_qs},
            {type, 70, 481, 160, u"松本　健太"_qs},
            {type, 26, 328, 83, u"〒604-8152"_qs},
            {type, 32, 286, 115, u"京都府京都市中京区烏丸通3-29-14"_qs},
            {type, 30, 200, 114, u"TEL +81 75 683 6445"_qs},
        },
        {{u"Roboto"_qs, 22, 70, 965, u"Email kenta-matsumoto@sakura-design.jp"_qs},
         {u"Roboto"_qs, 22, 150, 1000, u"Web www.sakura-design.jp"_qs}});
    QImage leaning(upright.size(), QImage::Format_Grayscale8);
    leaning.fill(Qt::white);
    QPainter painter(&leaning);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(leaning.width() / 2.0, leaning.height() / 2.0);
    painter.rotate(2.2);
    painter.translate(-leaning.width() / 2.0, -leaning.height() / 2.0);
    painter.drawImage(0, 0, upright);
    painter.end();
    Card card;
    ASSERT_EQ(recognize(leaning, &card, 11), 0);
    EXPECT_EQ(card.text("e_Mail"), u"kenta-matsumoto@sakura-design.jp"_qs);
    EXPECT_EQ(card.text("web_Page_Address"), u"www.sakura-design.jp"_qs);
}

// A card in columns in light type whose numbers stand upright, a character to a cell: the page
// layout runs the characters of its columns side by side into rows of a few characters each, and
// reads them surely all the same.
TEST_F(Quillant, ColumnCardTheLayoutReadAsSureScrapsIsReadInColumns)
{
    const QString type = u"M PLUS 2 Light"_qs;
    const QImage image = columnCard(
        {
            {type, 40, 600, 180, u"有限会社稲穂フーズ"_qs},
            {type, 24, 505, 135, u"品質保証部　執行役員"_qs},
            {u"IPAexGothic"_qs, 64, 440, 160, u"辻　美穂"_qs},
            {type, 24, 300, 75, u"〒１８０－０００４"_qs},
            {type, 24, 250, 105, u"東京都武蔵野市吉祥寺本町１－１９"_qs},
            {type, 24, 190, 105, u"電話　＋８１　４２２　３３　８７１７"_qs},
            {type, 24, 150, 105, u"携帯　０７０－４７２８－５０４８"_qs},
        },
        {{u"DejaVu Sans"_qs, 20, 60, 960, u"Mail. tsuji_m@inaho-foods.jp"_qs}});
    Card card;
    ASSERT_EQ(recognize(image, &card, 11), 0);
    EXPECT_EQ(card.text("full_Name").remove(u' '), u"辻美穂"_qs);
    EXPECT_TRUE(card.text("address").startsWith(u"東京都武蔵野市"_qs)) << card.text("address").toStdString();
    EXPECT_EQ(digits(card.text("telephone_Number")), u"81422338717"_qs);
    EXPECT_EQ(digits(card.text("mobile_Number")), u"07047285048"_qs);
}

// Names in columns whose kanji the vertical model misreads (和也 as 和世 or 和志), their reading
// beside them: put right by their ink as on a card set across.
TEST_F(Quillant, KanjiOfANameInAColumnComesOutAsPrinted)
{
    const struct {
        QString font, family, familyReading;
    } names[] = {
        {u"IPAMincho"_qs, u"渡辺"_qs, u"ワタナベ"_qs},
        {u"IPAGothic"_qs, u"清水"_qs, u"シミズ"_qs},
        {u"IPAGothic"_qs, u"坂口"_qs, u"サカグチ"_qs},
    };
    for (const auto& n : names) {
        Card card;
        ASSERT_EQ(recognize(japaneseColumnCard(n.font, n.family, u"和也"_qs, n.familyReading, u"カズヤ"_qs), &card, 11), 0);
        EXPECT_EQ(card.text("full_Name").remove(u' '), n.family + u"和也"_qs) << n.font.toStdString();
    }
}

// A logo stands at the head of the company's column, and the title's column close beside the
// name's: the logo is no part of the company, nor the title of the name.
TEST_F(Quillant, LogoAndTitleBesideTheNameStayOutOfTheirColumns)
{
    QImage image = columnCard(
        {
            {u"IPAGothic"_qs, 40, 600, 150, u"株式会社北辰物流"_qs},
            {u"IPAMincho"_qs, 30, 520, 170, u"技術部シニアコンサルタント"_qs},
            {u"IPAMincho"_qs, 84, 478, 170, u"中島　俊介"_qs},
            {u"IPAMincho"_qs, 28, 300, 100, u"〒104-0061"_qs},
            {u"IPAMincho"_qs, 30, 245, 100, u"東京都中央区銀座四丁目五番六号"_qs},
            {u"IPAMincho"_qs, 28, 185, 100, u"電話　03-3567-8901"_qs},
        },
        {{u"DejaVu Sans"_qs, 26, 60, 1010, u"s.nakajima@hokushin-logi.co.jp"_qs}});
    QImage logo = image.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&logo);
    painter.fillRect(562, 70, 30, 30, Qt::black);
    painter.fillRect(596, 70, 30, 30, Qt::black);
    painter.fillRect(562, 104, 30, 30, Qt::black);
    painter.end();
    image = logo.convertToFormat(QImage::Format_Grayscale8);
    Card card;
    ASSERT_EQ(recognize(image, &card, 11), 0);
    EXPECT_EQ(card.text("company").remove(u' '), u"株式会社北辰物流"_qs);
    EXPECT_EQ(card.text("department"), u"技術部"_qs);
    EXPECT_EQ(card.text("job_Title"), u"シニアコンサルタント"_qs);
    EXPECT_EQ(card.text("full_Name").remove(u' '), u"中島俊介"_qs);
}

// Names in columns the vertical model misreads ("の野寺", "柔原 郊太", "浦 和人") and no reading
// printed beside them: of the column's two readings, and names made of both, the one the name
// dictionary knows.
TEST_F(Quillant, NameInAColumnComesOutAsTheNameDictionaryKnowsIt)
{
    const struct {
        QString font, family, given;
    } names[] = {
        {u"IPAMincho"_qs, u"小野寺"_qs, u"亮介"_qs}, {u"IPAMincho"_qs, u"内田"_qs, u"克也"_qs}, {u"IPAMincho"_qs, u"桑原"_qs, u"翔太"_qs},
        {u"IPAGothic"_qs, u"三浦"_qs, u"和人"_qs},   {u"IPAGothic"_qs, u"藤田"_qs, u"克也"_qs},
        // The strokes of 三 stand apart by paper in large type: one character all the same.
        {u"IPAGothic"_qs, u"三田村"_qs, u"伸也"_qs},
    };
    for (const auto& n : names) {
        Card card;
        ASSERT_EQ(recognize(japaneseColumnCard(n.font, n.family, n.given, {}, {}), &card, 11), 0);
        EXPECT_EQ(card.text("full_Name"), n.family + u' ' + n.given) << n.font.toStdString();
    }
}

// A department and a title in small type, each in a short column of its own beside the name, the
// title's characters set close: the vertical model reads nothing of such columns, and the engine's
// search for a text line finds none in some of them set as a row.
TEST_F(Quillant, ShortRoleColumnsBesideTheNameAreRead)
{
    const struct {
        QString font, department, title;
        int size;
    } roles[] = {
        {u"IPAMincho"_qs, u"技術部"_qs, u"課長"_qs, 22},
        {u"IPAGothic"_qs, u"総務課"_qs, u"係長"_qs, 22},
        {u"IPAMincho"_qs, u"技術部"_qs, u"課長"_qs, 26},
        {u"IPAMincho"_qs, u"技術部"_qs, u"総務課長"_qs, 26},
    };
    for (const auto& r : roles) {
        const QImage image = columnCard(
            {
                {r.font, 44, 600, 90, u"株式会社丸山建設"_qs},
                {r.font, r.size, 532, 151, r.department},
                {r.font, r.size, 492, 152, r.title},
                {r.font, 70, 453, 160, u"清水　亮介"_qs},
                {r.font, 28, 300, 100, u"〒103-0027"_qs},
                {r.font, 30, 245, 100, u"東京都中央区日本橋七丁目三番"_qs},
                {r.font, 28, 185, 100, u"電話　03-2055-4410"_qs},
            },
            {{u"DejaVu Sans"_qs, 26, 60, 1010, u"r.shimizu@maruyama-kensetsu.jp"_qs}});
        Card card;
        ASSERT_EQ(recognize(image, &card, 11), 0);
        const std::string what = r.font.toStdString() + " " + r.title.toStdString() + " " + std::to_string(r.size);
        EXPECT_EQ(card.text("department"), r.department) << what;
        EXPECT_EQ(card.text("job_Title"), r.title) << what;
        EXPECT_EQ(card.text("full_Name").remove(u' '), u"清水亮介"_qs) << what;
    }
}

// A simplified Chinese card in columns: read with the Chinese model, which knows its characters.
TEST_F(Quillant, VerticalChineseCardReadsInItsColumns)
{
    const QImage image = columnCard(
        {
            {u"WenQuanYi Micro Hei"_qs, 44, 600, 90, u"华东机械有限公司"_qs},
            {u"WenQuanYi Micro Hei"_qs, 32, 520, 130, u"销售部　经理"_qs},
            {u"WenQuanYi Micro Hei"_qs, 84, 440, 170, u"王建国"_qs},
            {u"WenQuanYi Micro Hei"_qs, 30, 290, 100, u"上海市浦东新区世纪大道８８号"_qs},
            {u"WenQuanYi Micro Hei"_qs, 28, 220, 100, u"TEL　021-5888-6666"_qs},
        },
        {{u"DejaVu Sans"_qs, 26, 60, 1010, u"wang.jianguo@huadong.com.cn"_qs}});
    Card card;
    ASSERT_EQ(recognize(image, &card, 3), 0);
    EXPECT_EQ(card.text("full_Name").remove(u' '), u"王建国"_qs);
    EXPECT_EQ(card.text("address"), u"上海市浦东新区世纪大道88号"_qs);
    EXPECT_EQ(digits(card.text("telephone_Number")), u"02158886666"_qs);
    EXPECT_EQ(card.text("e_Mail"), u"wang.jianguo@huadong.com.cn"_qs);
    EXPECT_TRUE(images.turned.isEmpty());
}

// Which way a card's ink runs, for when the engine's lines across say nothing: columns of
// characters outweigh the rows of Latin letters at their foot, and a coloured band is no row.
TEST(InkDirection, ColumnsAndRowsOfInk)
{
    QImage banded = englishCard();
    QPainter painter(&banded);
    painter.fillRect(0, 0, 150, banded.height(), QColor(90, 90, 90));
    painter.fillRect(banded.width() - 150, 0, 150, banded.height(), QColor(90, 90, 90));
    painter.end();
    QImage blank(1075, 650, QImage::Format_Grayscale8);
    blank.fill(255);
    const struct {
        const char* card;
        QImage image;
        bool columns;
    } cases[] = {
        {"columns",
         columnCard(
             {
                 {u"IPAMincho"_qs, 44, 600, 90, u"株式会社光陽電機"_qs},
                 {u"IPAMincho"_qs, 84, 440, 170, u"山口　健一"_qs},
                 {u"IPAMincho"_qs, 30, 245, 100, u"東京都中央区銀座四丁目五番六号"_qs},
                 {u"IPAMincho"_qs, 28, 185, 100, u"電話　03-3567-8901"_qs},
             },
             {{u"DejaVu Sans"_qs, 26, 60, 980, u"www.koyo-denki.co.jp"_qs},
              {u"DejaVu Sans"_qs, 26, 60, 1030, u"k.yamaguchi@koyo-denki.co.jp"_qs}}),
         true},
        {"rows", japaneseCard(), false},
        {"English rows", englishCard(), false},
        {"rows between bands", banded, false},
        // The ink of a card lying on its side runs down it too: the orientation tells the two apart.
        {"rows on their side", turnedClockwise(japaneseCard()), true},
        {"blank", blank, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inkRunsInColumns(pixOf(c.image).get()), c.columns) << c.card;
}

// A horizontal Japanese card lying on its side also shows lines standing on end: it is turned
// upright and read across, not taken for columns.
TEST_F(Quillant, HorizontalCardOnItsSideIsNoColumnCard)
{
    Card card;
    ASSERT_EQ(recognize(turnedClockwise(japaneseCard()), &card, 11), 0);
    EXPECT_EQ(card.text("e_Mail"), u"taro.yamada@yamada-shoji.co.jp"_qs);
    EXPECT_TRUE(card.text("company").contains(u"山田"_qs)) << card.text("company").toStdString();
    EXPECT_EQ(images.turned, QStringList{u"/db/Images/c_N1.pdf:0:270"_qs});
}

} // namespace
// A card as a scanner gives one on a tinted sheet, in grey: the paper at `paper`, a slight blur,
// sensor noise of about `noise` grey levels, saved as a JPEG of quality 75.
QImage tintedNoisyScan(const QImage& card, int paper, int noise)
{
    QImage grey = card.convertToFormat(QImage::Format_Grayscale8);
    QImage out(grey.size(), QImage::Format_Grayscale8);
    QRandomGenerator random(49);
    for (int y = 0; y < grey.height(); ++y) {
        uchar* row = out.scanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx)
                    sum += (dx == 0 && dy == 0 ? 4 : 1) * grey.pixelColor(std::clamp(x + dx, 0, grey.width() - 1),
                                                                         std::clamp(y + dy, 0, grey.height() - 1)).red();
            }
            // Twelve uniform draws sum to about a normal spread of one.
            double spread = -6;
            for (int i = 0; i < 12; ++i)
                spread += random.generateDouble();
            row[x] = uchar(std::clamp(int(sum / 12 * paper / 255 + spread * noise), 0, 255));
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    out.save(&buffer, "JPG", 75);
    return QImage::fromData(jpeg, "JPG").convertToFormat(QImage::Format_Grayscale8);
}

// A Korean card set down the left, its name large in a thin serif face, a diamond at the foot: the
// engine's layout finds no text in the whole upper block (name, title, company, address), only in
// the number and address rows at the foot.
TEST_F(Quillant, KoreanBlockTheLayoutLeavesUnreadIsRead)
{
    const QString myeongjo = u"NanumMyeongjo"_qs;
    QImage card = drawnCard({{myeongjo, 80, 84, 185, u"배경호"_qs},
                             {myeongjo, 34, 84, 246, u"품질관리팀 책임연구원"_qs},
                             {u"NanumSquare"_qs, 44, 84, 310, u"청솔건설 주식회사"_qs},
                             {myeongjo, 30, 84, 365, u"주소: (61949) 광주광역시 서구 상무중앙로 58"_qs},
                             {myeongjo, 30, 84, 402, u"14층"_qs},
                             {myeongjo, 30, 84, 452, u"H.P. 010.4417.2093"_qs},
                             {myeongjo, 30, 84, 492, u"E-mail. kyungho.bae@cheongsol.co.kr"_qs},
                             {myeongjo, 30, 84, 530, u"홈페이지  http://www.cheongsol.co.kr/"_qs}})
                      .convertToFormat(QImage::Format_RGB32);
    QPainter painter(&card);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(80, 80, 80));
    painter.drawPolygon(QPolygon({QPoint(970, 500), QPoint(1015, 545), QPoint(970, 590), QPoint(925, 545)}));
    painter.end();
    const QImage scan = tintedNoisyScan(card, 238, 6);
    Card read;
    ASSERT_EQ(recognize(scan, &read, 11), 0);
    EXPECT_EQ(read.text("full_Name").toStdString(), "배경호");
    EXPECT_EQ(read.text("company").toStdString(), "청솔건설 주식회사");
    EXPECT_EQ(read.text("department").toStdString(), "품질관리팀");
    EXPECT_EQ(read.text("job_Title").toStdString(), "책임연구원");
    EXPECT_EQ(read.text("address").toStdString(), "(61949) 광주광역시 서구 상무중앙로 58 14층");
    EXPECT_EQ(digits(read.text("mobile_Number")), u"01044172093"_qs);
}
