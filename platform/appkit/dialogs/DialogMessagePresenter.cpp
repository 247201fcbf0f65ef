#include "platform/appkit/dialogs/DialogMessagePresenter.h"

#include "platform/appkit/dialogs/ModalDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kAlertIconSize = 64;
constexpr int kMinimumTextColumns = 70;

// Builds the box for `request`; `buttons` receives the buttons in request order.
QMessageBox* makeBox(const AlertRequest& request, QList<QAbstractButton*>& buttons)
{
    QWidget* window = sheetWindow(request.window);
    auto* box = new QMessageBox(window);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    // One standard style for every alert: the application's icon, a question icon for a question.
    const QIcon applicationIcon = QApplication::windowIcon();
    if (request.question)
        box->setIcon(QMessageBox::Question);
    else if (!applicationIcon.isNull())
        box->setIconPixmap(applicationIcon.pixmap(kAlertIconSize, kAlertIconSize));
    box->setWindowTitle(request.title);
    box->setTextFormat(Qt::PlainText);
    box->setText(request.title);
    box->setInformativeText(request.informativeText);
    // Message texts may hold "<" and "&": never let the box read them as markup.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
    // The box would wrap a sentence into a narrow column: a text gets the width of
    // kMinimumTextColumns characters, or the width of its longest line when that is less.
    for (const char* name : {"qt_msgbox_label", "qt_msgbox_informativelabel"}) {
        if (auto* label = box->findChild<QLabel*>(QString::fromLatin1(name))) {
            const QFontMetrics metrics = label->fontMetrics();
            int longest = 0;
            for (const QString& line : label->text().split(QLatin1Char('\n')))
                longest = std::max(longest, metrics.horizontalAdvance(line));
            label->setMinimumWidth(std::min(longest, kMinimumTextColumns * metrics.averageCharWidth()));
        }
    }
    if (request.buttons.isEmpty()) {
        buttons.append(box->addButton(QMessageBox::Ok));
    } else {
        const QMessageBox::ButtonRole roles[] = {QMessageBox::AcceptRole, QMessageBox::RejectRole, QMessageBox::DestructiveRole};
        for (int i = 0; i < request.buttons.size(); ++i)
            buttons.append(box->addButton(request.buttons.at(i), roles[qMin(i, 2)]));
    }
    box->setDefaultButton(qobject_cast<QPushButton*>(buttons.first()));
    box->setEscapeButton(buttons.size() > 1 ? buttons.at(1) : buttons.first());
    return box;
}

int returnCodeOf(QMessageBox* box, const QList<QAbstractButton*>& buttons)
{
    const int index = static_cast<int>(buttons.indexOf(box->clickedButton()));
    return kAlertFirstButtonReturn + (index < 0 ? (buttons.size() > 1 ? 1 : 0) : index);
}

} // namespace

int DialogMessagePresenter::runModal(const AlertRequest& request)
{
    QList<QAbstractButton*> buttons;
    QMessageBox* box = makeBox(request, buttons);
    execModal(*box);
    const int code = returnCodeOf(box, buttons);
    delete box;
    return code;
}

void DialogMessagePresenter::beginSheet(const AlertRequest& request, Completion done)
{
    QList<QAbstractButton*> buttons;
    QMessageBox* box = makeBox(request, buttons);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, buttons, done = std::move(done)](int) {
        if (done)
            done(returnCodeOf(box, buttons));
    });
    // show() keeps the modality chosen above (open() would force window-modal).
    box->show();
}
