#include "tests/plugin/SforceService/RecordTypesSupport.h"

#include "plugin/SforceService/SforceServiceSvc_QueryResult.h"
#include "plugin/SforceService/SoapTypeRegistry.h"

#include <gtest/gtest.h>

namespace {

QByteArray everyByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

SoapObjectPtr newRecord(const QString& className, const QString& id)
{
    const SoapTypeInfo* info = SoapTypeRegistry::instance().find(className);
    if (!info)
        return nullptr;
    SoapObjectPtr record = info->create();
    record->setValueForKey("Id", id);
    return record;
}

SoapValue pageOfRecords(const QString& ownerClass)
{
    auto page = std::make_shared<SforceServiceSvc_QueryResult>();
    page->setValueForKey("done", SoapValue(USBoolean(false)));
    page->setValueForKey("queryLocator", "01gLOCATOR-2000");
    page->appendValueForKey("records", newRecord(ownerClass, "REC1"));
    page->appendValueForKey("records", newRecord("ens_sObject", "REC2"));
    page->setValueForKey("size", 2.0);
    return SoapValue(SoapObjectPtr(page));
}

SoapValue filledValue(const SoapFieldInfo& f, int index, const QString& ownerClass)
{
    switch (f.kind) {
    case SoapKind::Text:
        return QStringLiteral("%1 <%2> & \"R&amp;D\" \u00e9\u5927").arg(f.wireName).arg(index);
    case SoapKind::Number:
        return SoapValue(1000.25 * index);
    case SoapKind::Date:
        return SoapValue(QDateTime(QDate(2010, 1 + index % 12, 1 + index % 28), QTime(index % 24, 30, 15), Qt::UTC));
    case SoapKind::Boolean:
        return SoapValue(USBoolean(index % 2 == 0));
    case SoapKind::Bytes:
        return SoapValue(everyByte());
    case SoapKind::Object:
        if (f.declaredClass == QLatin1String("SforceServiceSvc_QueryResult"))
            return pageOfRecords(ownerClass);
        return SoapValue(newRecord(f.declaredClass, QStringLiteral("NESTED%1").arg(index)));
    case SoapKind::Enumeration:
        break;
    }
    return SoapValue();
}

}

SoapObjectPtr filledRecord(const QString& className)
{
    SoapObjectPtr record = newRecord(className, "001000000000042AAA");
    if (!record)
        return nullptr;
    record->appendValueForKey("fieldsToNull", "Email");
    record->appendValueForKey("fieldsToNull", "Phone");
    const auto& fields = record->typeInfo().fields();
    for (size_t i = fields.size() - size_t(record->typeInfo().ownFieldCount()); i < fields.size(); ++i)
        record->setValueForKey(fields[i].wireName, filledValue(fields[i], int(i), className));
    return record;
}

void expectSameValue(const SoapValue& expected, const SoapValue& actual, const QString& path)
{
    const std::string where = path.toStdString();
    ASSERT_EQ(expected.storage().index(), actual.storage().index()) << where;
    if (expected.isObject()) {
        const SoapObjectPtr e = expected.object();
        const SoapObjectPtr a = actual.object();
        ASSERT_EQ(e->className(), a->className()) << where;
        for (const SoapFieldInfo& f : e->typeInfo().fields())
            expectSameValue(e->valueForKey(f.wireName), a->valueForKey(f.wireName), path + QLatin1Char('.') + f.wireName);
    } else if (expected.isList()) {
        ASSERT_EQ(expected.list().size(), actual.list().size()) << where;
        for (size_t i = 0; i < expected.list().size(); ++i)
            expectSameValue(expected.list()[i], actual.list()[i], path + QStringLiteral("[%1]").arg(i));
    } else if (expected.isDate()) {
        EXPECT_EQ(expected.date(), actual.date()) << where;
    } else if (expected.isBoolean()) {
        EXPECT_EQ(expected.boolean()->boolValue(), actual.boolean()->boolValue()) << where;
    } else {
        EXPECT_EQ(expected.text(), actual.text()) << where;
        EXPECT_EQ(expected.number(), actual.number()) << where;
        EXPECT_EQ(expected.bytes(), actual.bytes()) << where;
    }
}

QStringList childNames(xmlNodePtr node)
{
    QStringList names;
    for (xmlNodePtr c = node->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE)
            continue;
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(c->name));
        names.append(c->ns && c->ns->prefix ? QString::fromUtf8(reinterpret_cast<const char*>(c->ns->prefix)) + QLatin1Char(':') + name : name);
    }
    return names;
}
