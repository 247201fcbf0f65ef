// The printed form of the selected cards: every card side (front, then back) in a cell of a grid
// on each sheet, filled left to right and top to bottom, sheet after sheet.
//
// The layout works in points in the print view's coordinates: y grows upwards, sheet n (from 1)
// lies at y = (n - 1) x paper height. Drawing goes onto the job's own printer, sheet by sheet, so
// nothing is written to a shared temporary folder and the user's page setup (margins,
// orientation) is the one honoured.
#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariantList>

#include <vector>

class QPrinter;

// The keys of one print entry, a card's image files by full path.
inline constexpr char kPrintPdfPathFace[] = "PL_PRINT_PDF_PATH_FACE";
inline constexpr char kPrintPdfPathBack[] = "PL_PRINT_PDF_PATH_BACK";

class PLPrintView {
public:
    // The paper size becomes `frame`'s size; the rest takes its defaults (1 column, 1 row,
    // centred, no automatic scaling, no band).
    explicit PLPrintView(const QRectF& frame);

    // Copies the entries (maps with the two keys above) and lists the sides to print; false when
    // an entry is not a map or no side could be opened.
    bool setFiles(const QVariantList& files);
    void setPaperSize(const QSizeF& size) { _sizePaperSize = size; }
    void setAutoScale(bool autoScale) { _bIsAutoScale = autoScale; }
    void setCenter(bool center) { _bIsCenter = center; }
    void setPrintNum(bool band) { _printNum = band; }
    // Columns 1 to 7 and rows 1 to 10; other values leave the old one.
    void setVCount(int columns);
    void setHCount(int rows);

    int sideCount() const { return int(m_sides.size()); }
    // The number of sheets: the sides divided by the cells of a sheet, rounded up.
    int knowsPageRange() const;
    // The rect of sheet `sheet` (from 1) in the view; empty outside 1 to the number of sheets.
    QRectF rectForPage(int sheet) const;
    // The view's frame: the paper width by the paper height times the number of sides.
    QRectF frame() const;
    // Where side `side` (from 1) is drawn, given the drawable rect of a sheet; empty beyond the
    // last side.
    QRectF rectForDraw(int side, const QRectF& rectCanDraw) const;
    // Fits a side of `pageSize` into `cell`: scaled down keeping its shape when larger (or
    // whenever `autoScale`), centred or at the cell's top-left corner.
    static QRectF adjustRectByPaperSize(const QRectF& cell, const QSizeF& pageSize, bool center, bool autoScale);

    // Draws every sheet onto `printer`, taking its paper and imageable area; false when nothing
    // could be drawn.
    bool drawSheets(QPrinter& printer);

private:
    struct Side {
        QString path;
        int page = 0;
        QSizeF size; // points, the page's rotation applied
    };

    std::vector<Side> m_sides;
    QSizeF _sizePaperSize;
    bool _bIsAutoScale = false;
    bool _bIsCenter = true;
    int _nVCount = 1;
    int _nHCount = 1;
    bool _printNum = false;
};
