#include "app/ui/PLAttachmentInfoWindow.h"

#include "app/core/LocalString.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString dateText(const QDateTime& date)
{
    return date.isValid() ? QLocale().toString(date.toLocalTime(), QLocale::LongFormat) : QStringLiteral("-");
}

QString sizeText(qint64 bytes)
{
    const QString exact = QLocale().toString(bytes);
    return bytes < 1024 ? exact : QStringLiteral("%1 (%2)").arg(QLocale().formattedDataSize(bytes), exact);
}

} // namespace

PLAttachmentInfoWindow::PLAttachmentInfoWindow(const QString& path, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("attachmentInfoWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    const QFileInfo info(path);
    setWindowTitle(info.fileName());
    auto* form = new QFormLayout;
    const struct {
        const char* row;
        const char* labelKey;
        QString text;
    } rows[] = {
        {"name", "IDS_ATTACHMENT_INFO_NAME", info.fileName()},
        {"size", "IDS_ATTACHMENT_INFO_SIZE", sizeText(info.size())},
        {"type", "IDS_ATTACHMENT_INFO_TYPE", QMimeDatabase().mimeTypeForFile(info).comment()},
        {"created", "IDS_ATTACHMENT_INFO_CREATED", dateText(info.birthTime())},
        {"modified", "IDS_ATTACHMENT_INFO_MODIFIED", dateText(info.lastModified())},
        {"path", "IDS_ATTACHMENT_INFO_PATH", info.absoluteFilePath()},
    };
    for (const auto& [row, labelKey, text] : rows) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(row));
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setWordWrap(true);
        form->addRow(getLocalString(QString::fromLatin1(labelKey)), label);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setText(getLocalString(QStringLiteral("IDS_BUTTON_MSG_OK")));
    close->setAccessibleName(close->text());
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

QString PLAttachmentInfoWindow::value(const QString& row) const
{
    const auto* label = findChild<QLabel*>(row);
    return label ? label->text() : QString();
}
