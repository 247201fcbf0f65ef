// What the providers post when an asynchronous call has completed (object: the provider).
#pragma once

#include "plugin/Common/QueryResult.h"

#include <QMetaType>

#include <memory>

inline constexpr const char* kQDLEVENTDALOGINCOMPLETED = "QDLEVENTDALOGINCOMPLETED";
inline constexpr const char* kQDLEVENTDACREATECOMPLETED = "QDLEVENTDACREATECOMPLETED";
inline constexpr const char* kQDLEVENTDADELETEACCOMPLETED = "QDLEVENTDADELETEACCOMPLETED";
inline constexpr const char* kQDLEVENTDAQUERYACCOMPLETED = "QDLEVENTDAQUERYACCOMPLETED";
// userInfo key of the query's QueryResult; the others carry the binding's "SFORCERESPONSE".
inline constexpr const char* kQueryResultKey = "result";

using QueryResultPtr = std::shared_ptr<QueryResult>;
Q_DECLARE_METATYPE(QueryResultPtr)
