// The information window of an attached file, shown when no desktop file manager answers for its
// properties: the file's name, size, type, dates and path. Not modal: it stays open beside the
// main window until the user closes it, and goes with the window it belongs to.
#pragma once

#include <QDialog>

class PLAttachmentInfoWindow : public QDialog {
    Q_OBJECT
public:
    PLAttachmentInfoWindow(const QString& path, QWidget* parent);

    // The shown value of a row ("name", "size", "type", "created", "modified", "path").
    QString value(const QString& row) const;
};
