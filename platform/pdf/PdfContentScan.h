// Walks a page's content streams (all parts, in order) and reports each operator with its operands.
#pragma once

#include "platform/pdf/PdfObject.h"

#include <functional>
#include <string>
#include <vector>

using PdfOperatorHandler = std::function<void(const std::string& op, const std::vector<PdfObject>& operands)>;

// False when the content cannot be read or parsed to its end, decodes past kMaxPdfContentBytes
// (PdfLimits.h), or gives one operator more operands than any takes.
bool scanPageContents(const PdfPage& page, const PdfOperatorHandler& handler);
