// The title above the card list: the shown folder's icon and name, drawn as the folder tree's
// cell draws them. The title sits centred in the bar, 10 points in from either side; a title too
// long for that room starts at the left, is cut at its tail and shows in full as the tool tip.
#pragma once

#include "app/ui/ImageAndTextCell.h"

#include <QWidget>

class FolderTitleView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSideMargin = 10;

    // Where the title goes in a bar of `barWidth` when it needs `needed`: its x and width, and
    // whether it is cut.
    struct Placement {
        int x = 0;
        int width = 0;
        bool cut = false;
    };
    static Placement placeTitle(int barWidth, int needed);

    explicit FolderTitleView(QWidget* parent = nullptr);

    // An empty text and no icon show nothing.
    void setTitle(const QPixmap& icon, const QString& text);
    const QString& title() const { return m_text; }
    // The part of the bar the title takes.
    const QRect& titleRect() const { return m_titleRect; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places the title for the bar's width and sets the tool tip.
    void resetLayout();

    ImageAndTextCell m_cell;
    QString m_text;
    QRect m_titleRect;
};
