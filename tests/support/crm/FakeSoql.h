// The SOQL the fake service understands, evaluated over its records as the live service does:
// SELECT fields FROM object [WHERE condition] [ORDER BY field [ASC|DESC]] [LIMIT n], with =, !=,
// <>, LIKE, IN (values or a subquery), NOT, AND, OR, parentheses and quoted strings with their
// escapes. A text it cannot read is refused, as the service refuses it (MALFORMED_QUERY).
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct FakeSoqlCondition;

class FakeSoqlQuery {
public:
    // The field values of one record by field name; a missing name is a null value.
    using Values = QMap<QString, QString>;
    // Runs a subquery: the values of its first field over the records it selects.
    using Subquery = std::function<QStringList(const FakeSoqlQuery&)>;

    static std::shared_ptr<FakeSoqlQuery> parse(const QString& soql, QString* error);

    QString object;
    QStringList fields;
    QString orderBy;
    bool descending = false;
    int limit = -1;

    bool matches(const Values& record, const Subquery& subquery) const;
    // Whether `field` (or a relationship path starting with it) was asked for.
    bool selects(const QString& field) const;

    std::shared_ptr<FakeSoqlCondition> where;
};
