#include "app/core/windows/PLPasswordController.h"

#include "app/core/ApplicationLookup.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/DatabasePassword.h"
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "platform/appkit/ModalScope.h"
#include "platform/foundation/PlainFile.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMsgHelpNotShown = 3;
constexpr int kMsgWrongPassword = 132;
constexpr int kMsgIllegalCharacters = 134;
} // namespace

PLPasswordController::PLPasswordController(QWidget* mainWindow) : m_mainWindow(mainWindow)
{
    m_window = std::make_unique<QDialog>();
    m_window->setObjectName(QStringLiteral("PLPasswordWindow"));
    m_window->setWindowTitle(QStringLiteral("Pelmora"));
    auto* layout = new QVBoxLayout(m_window.get());
    _dbFilePath = new QLabel(m_window.get());
    _dbFilePath->setObjectName(QStringLiteral("_dbFilePath"));
    _dbFilePath->setTextFormat(Qt::PlainText);
    _passwordTextField = new QLineEdit(m_window.get());
    _passwordTextField->setObjectName(QStringLiteral("_passwordTextField"));
    _passwordTextField->setEchoMode(QLineEdit::Password);
    _passwordTextField->setMaxLength(kPasswordMaxLength);
    auto* buttons = new QDialogButtonBox(m_window.get());
    _okBtn = buttons->addButton(getLocalString(QStringLiteral("IDS_OK")), QDialogButtonBox::AcceptRole);
    _okBtn->setObjectName(QStringLiteral("_okBtn"));
    QPushButton* cancel = buttons->addButton(getLocalString(QStringLiteral("IDS_CANCEL")), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    // What is asked for, above the database it is asked for; the label names the field.
    auto* prompt = new QLabel(getLocalString(QStringLiteral("IDS_PASSWORD_PROMPT")), m_window.get());
    prompt->setBuddy(_passwordTextField);
    layout->addWidget(prompt);
    layout->addWidget(_dbFilePath);
    layout->addWidget(_passwordTextField);
    layout->addWidget(buttons);
    QObject::connect(_okBtn, &QPushButton::clicked, m_window.get(), [this] { doOkClick(); });
    QObject::connect(cancel, &QPushButton::clicked, m_window.get(), [this] { doCancelClick(); });
    QObject::connect(help, &QPushButton::clicked, m_window.get(), [this] { doHelpClick(); });
    QObject::connect(_passwordTextField, &QLineEdit::textChanged, m_window.get(), [this] { controlTextDidChange(); });
    clearField();
}

PLPasswordController::~PLPasswordController() = default;

void PLPasswordController::setDBFilePath(const QString& path)
{
    _dbPath = path;
    _dbFilePath->setText(path);
}

void PLPasswordController::clearField()
{
    _passwordTextField->clear();
    _okBtn->setEnabled(false);
}

void PLPasswordController::run(bool sheet)
{
    clearField();
    _pwdIsCorrect = false;
    const bool onWindow = sheet && m_mainWindow && m_mainWindow->isVisible();
    m_window->setParent(onWindow ? m_mainWindow : nullptr, Qt::Dialog);
    m_window->setWindowModality(onWindow ? Qt::WindowModal : Qt::ApplicationModal);
    _passwordTextField->setFocus();
    ModalScope scope;
    m_window->exec();
    m_window->setParent(nullptr, Qt::Dialog);
}

void PLPasswordController::showSheetWindow()
{
    run(true);
}

void PLPasswordController::showModalWindow()
{
    run(false);
}

bool PLPasswordController::checkPwdIsCorrect(const QString& password) const
{
    const QString path = DatabaseLayout::passwordFilePath(_dbPath);
    if (!entryExists(path))
        return true;
    // A digest is 32 bytes; a link or anything but a plain file is never a valid password file.
    QByteArray digest;
    return readPlainFile(path, &digest, 4096) && getMD5String(password) == QString::fromUtf8(digest);
}

void PLPasswordController::controlTextDidChange()
{
    _okBtn->setEnabled(!_passwordTextField->text().isEmpty());
}

void PLPasswordController::doOkClick()
{
    const QString password = _passwordTextField->text();
    const QString illegal = getIllegalCharactersInPwdString(password);
    if (!illegal.isEmpty()) {
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), kMsgIllegalCharacters);
        clearField();
        return;
    }
    _pwdIsCorrect = checkPwdIsCorrect(password);
    if (!_pwdIsCorrect) {
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), kMsgWrongPassword);
        clearField();
        return;
    }
    doCancelClick();
}

void PLPasswordController::doCancelClick()
{
    m_window->done(_stopModalReturnCode);
}

void PLPasswordController::doHelpClick()
{
    if (LocateHelpPageByAnchor(QLatin1String(kHelpAnchor)) != 0)
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), kMsgHelpNotShown);
}
