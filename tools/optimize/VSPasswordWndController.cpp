#include "tools/optimize/VSPasswordWndController.h"

#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/HelpPage.h"
#include "tools/dbtools/ToolMessages.h"
#include "tools/optimize/VSCommonFuc.h"
#include "tools/optimize/VSMessage.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kAttributesMissing = 1;
constexpr int kAttributesUsable = 7;
constexpr int kMsgNoDatabase = 101;
constexpr int kMsgNotUsable = 104;
constexpr int kMsgWrongPassword = 109;
constexpr int kMsgIllegalCharacters = 110;
constexpr int kMsgOther = 1;
} // namespace

VSPasswordWndController::VSPasswordWndController(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("passwordWindow"));
    setWindowTitle(DbToolCommon::getLocalString(ToolMessages::kWindowTitleKey));
    _dbFilePath = new QLineEdit(this);
    _dbFilePath->setObjectName(QStringLiteral("_dbFilePath"));
    _dbFilePath->setReadOnly(true);
    _passwordTextField = new QLineEdit(this);
    _passwordTextField->setObjectName(QStringLiteral("_passwordTextField"));
    _passwordTextField->setEchoMode(QLineEdit::Password);
    _passwordTextField->setMaxLength(kMaxPasswordLength);
    _okBtn = new QPushButton(DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_OK")), this);
    _okBtn->setObjectName(QStringLiteral("_okBtn"));
    _okBtn->setDefault(true);
    auto* cancel = new QPushButton(DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_CANCEL")), this);
    cancel->setObjectName(QStringLiteral("cancelBtn"));
    auto* help = new QPushButton(QStringLiteral("?"), this);
    help->setObjectName(QStringLiteral("helpBtn"));
    help->setToolTip(DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_HELP")));
    help->setAccessibleName(help->toolTip());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(_okBtn);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(DbToolCommon::getLocalString(QStringLiteral("IDS_PASSWORD_PROMPT")), this);
    prompt->setBuddy(_passwordTextField);
    _dbFilePath->setAccessibleName(DbToolCommon::getLocalString(QStringLiteral("IDS_LABEL_DATABASE")));
    layout->addWidget(prompt);
    layout->addWidget(_dbFilePath);
    layout->addWidget(_passwordTextField);
    layout->addLayout(buttons);

    connect(_okBtn, &QPushButton::clicked, this, &VSPasswordWndController::doOkClick);
    connect(cancel, &QPushButton::clicked, this, &VSPasswordWndController::doCancelClick);
    connect(help, &QPushButton::clicked, this, &VSPasswordWndController::doHelpClick);
    connect(_passwordTextField, &QLineEdit::textChanged, this, &VSPasswordWndController::controlTextDidChange);
    _passwordTextField->clear();
}

void VSPasswordWndController::setDBFilePath(const QString& folder)
{
    _dbPath = folder;
    _dbFilePath->setText(folder);
    _pwdIsCorrect = false;
}

bool VSPasswordWndController::isHasPassword() const
{
    return !VSCommonFuc::isBlank(_dbPath)
        && VSCommonFuc::isPathExists(DatabaseLayout::passwordFilePath(_dbPath), VSCommonFuc::kFileKind);
}

void VSPasswordWndController::showSheetWindow()
{
    _passwordTextField->clear();
    _okBtn->setEnabled(false);
    _pwdIsCorrect = false;
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    _passwordTextField->setFocus();
    exec();
}

bool VSPasswordWndController::checkPwdIsCorrect(const QString& password) const
{
    QFile file(DatabaseLayout::passwordFilePath(_dbPath));
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return QString::fromUtf8(file.readAll()) == VSCommonFuc::getMD5String(password);
}

void VSPasswordWndController::doOkClick()
{
    const int attributes = VSCommonFuc::CheckDBAttributes(_dbPath);
    if (attributes != kAttributesUsable) {
        if (attributes == kAttributesMissing)
            VSMessage::ShowErrorMessage(kMsgNoDatabase);
        else if (attributes >= 2 && attributes <= 8)
            VSMessage::ShowErrorMessage(kMsgNotUsable);
        else
            VSMessage::ShowErrorMessage(kMsgOther);
        _pwdIsCorrect = false;
        done(_stopModalReturnCode);
        return;
    }
    const QString password = _passwordTextField->text();
    const QString illegal = VSCommonFuc::getIllegalCharactersInPwdString(password);
    if (!illegal.isEmpty()) {
        VSMessage::ShowErrorMessage(kMsgIllegalCharacters, {illegal});
    } else if (checkPwdIsCorrect(password)) {
        _pwdIsCorrect = true;
        done(_stopModalReturnCode);
        return;
    } else {
        VSMessage::ShowErrorMessage(kMsgWrongPassword);
    }
    _passwordTextField->clear();
    _okBtn->setEnabled(false);
}

void VSPasswordWndController::doCancelClick()
{
    done(_stopModalReturnCode);
}

void VSPasswordWndController::doHelpClick()
{
    HelpPage::LocateHelpPageByAnchor(kHelpAnchor);
}

void VSPasswordWndController::controlTextDidChange()
{
    _okBtn->setEnabled(!_passwordTextField->text().isEmpty());
}
