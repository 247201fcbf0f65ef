// The attachments list in the side pane. A name edited in place goes to whoever renames the
// file (fileNameEdited), not into the list: the list shows what the folder holds. Return ends
// the edit on its row instead of moving on to the next one, and the list keeps the focus.
#pragma once

#include <QTableView>

class PLTableView : public QTableView {
    Q_OBJECT
public:
    // The column of the file names, which can be edited in place.
    static constexpr int kNameColumn = 1;
    // The longest name that can be typed.
    static constexpr int kNameMaxLength = 255;

    explicit PLTableView(QWidget* parent = nullptr);

signals:
    void fileNameEdited(const QString& name);

protected:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QString m_editedName; // committed, told once the editor has closed
};
