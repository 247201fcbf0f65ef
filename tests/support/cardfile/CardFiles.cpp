#include "tests/support/cardfile/CardFiles.h"

#include <QFile>

QString cardItem(const CardFixture& c)
{
    auto e = [](const QString& t) { return t.toHtmlEscaped(); };
    QString image = c.imageUrl.isEmpty() ? QString()
                                         : QStringLiteral("<ImageItem imageSemantics=\"Others\" url=\"%1\"/>").arg(e(c.imageUrl));
    return QStringLiteral(
        "  <ContactXMLItem lastModifiedDate=\"2026-12-09\">\n"
        "    <PersonName><PersonNameItem xml:lang=\"en\">\n"
        "      <FullName>%1</FullName><LastName>%2</LastName><MiddleName/><FirstName>%3</FirstName>\n"
        "    </PersonNameItem></PersonName>\n"
        "    <PersonID><PersonIDItem codeDomain=\"UserDefined\">%4</PersonIDItem></PersonID>\n"
        "    <Occupation><OccupationItem xml:lang=\"en\"><OrganizationName>%5</OrganizationName><JobTitle>Engineer</JobTitle></OccupationItem></Occupation>\n"
        "    <Address><AddressItem locationType=\"Office\"><FullAddress xml:lang=\"en\">1 Main St</FullAddress>"
        "<AddressCode codeDomain=\"ZIP7\">100-0001</AddressCode><AddressCode codeDomain=\"Country\">Japan</AddressCode>"
        "<AddressLine xml:lang=\"en\" addressLineType=\"Prefecture\">Tokyo</AddressLine>"
        "<AddressLine xml:lang=\"en\" addressLineType=\"City\">Chiyoda</AddressLine>"
        "<AddressLine xml:lang=\"en\" addressLineType=\"Number\">1-1</AddressLine></AddressItem></Address>\n"
        "    <Phone><PhoneItem phoneDevice=\"Phone\" usage=\"Official\">03-1111</PhoneItem>"
        "<PhoneItem phoneDevice=\"Cellular\" usage=\"Official\">090-2222</PhoneItem></Phone>\n"
        "    <Email><EmailItem emailDevice=\"Unknown\" usage=\"Official\">%6</EmailItem></Email>\n"
        "    <Web><WebItem usage=\"Official\">https://example.com</WebItem></Web>\n"
        "    <Extension><ExtensionItem xml:lang=\"en\" extensionType=\"Common\" name=\"Memo\">%7</ExtensionItem></Extension>\n"
        "    <Image>%8</Image>\n"
        "  </ContactXMLItem>\n")
        .arg(e(c.fullName), e(c.lastName), e(c.firstName), e(c.id), e(c.company), e(c.email), e(c.memo), image);
}

QString cardDocument(const QStringList& items)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
                          "<ContactXML version=\"1.1\" creator=\"http://orvane.example/Pelmora/1.0\" xmlns=\"http://www.xmlns.org/2002/ContactXML\">\n")
        + items.join(QString()) + QStringLiteral("</ContactXML>\n");
}

bool writeUtf16(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return file.write(bytes) == bytes.size();
}
