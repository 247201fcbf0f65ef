// Walks a page's content streams (all parts, in order) and reports each operator with its operands.
#pragma once

#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <functional>
#include <string>
#include <vector>

using PdfOperatorHandler =
    std::function<void(const std::string& op, const std::vector<QPDFObjectHandle>& operands)>;

// False when the content cannot be read or parsed to its end.
bool scanPageContents(QPDFPageObjectHelper page, const PdfOperatorHandler& handler);
