// The PDF library's objects behind PdfObject and PdfPage. Included only by platform/pdf's own
// sources: no other folder sees the library.
#pragma once

#include "platform/pdf/PdfObject.h"

#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

struct PdfObject::Handle {
    // qpdf's readers are not const; nothing changes the object through a PdfObject.
    mutable QPDFObjectHandle object;
};

struct PdfPage::Handle {
    QPDFPageObjectHelper page;
};

inline PdfObject wrapObject(QPDFObjectHandle object)
{
    return PdfObject(std::make_shared<const PdfObject::Handle>(PdfObject::Handle{std::move(object)}));
}

inline PdfPage wrapPage(QPDFPageObjectHelper page)
{
    return PdfPage(std::make_shared<PdfPage::Handle>(PdfPage::Handle{std::move(page)}));
}
