#include "tools/password/HWMainWindowController.h"

#include "platform/foundation/PathCompare.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/FolderChooser.h"
#include "tools/dbtools/HelpPage.h"
#include "tools/dbtools/ToolMessages.h"
#include "tools/dbtools/ToolSqlite.h"
#include "tools/password/HWCommonFunction.h"
#include "tools/password/HWDatabaseController.h"
#include "tools/password/HWMessage.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {

enum Message {
    kMsgNewerDatabase = 208,
    kMsgDone = 301,
    kMsgNewPasswordEmpty = 302,
    kMsgCurrentPasswordEmpty = 303,
    kMsgPasswordsDiffer = 304,
    kMsgWrongPassword = 305,
    kMsgIllegalCharacters = 306,
};

QLineEdit* passwordField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setEchoMode(QLineEdit::Password);
    field->setMaxLength(HWMainWindowController::kMaxPasswordLength);
    return field;
}

} // namespace

HWMainWindowController::HWMainWindowController(std::unique_ptr<HWDatabaseController> dbController)
    : _dbController(std::move(dbController))
{
    m_window = new QWidget;
    m_window->setObjectName(QStringLiteral("mainWindow"));
    _dbPathTextField = new QLineEdit(m_window);
    _dbPathTextField->setObjectName(QStringLiteral("_dbPathTextField"));
    _dbPathTextField->setReadOnly(true);
    _dbPathTextField->setMinimumWidth(360);
    _btnSelectPLDB = new QPushButton(HWCommonFunction::getLocalString(QStringLiteral("IDS_BUTTON_SELECT")), m_window);
    _btnSelectPLDB->setObjectName(QStringLiteral("_btnSelectPLDB"));
    _executeBtn = new QPushButton(HWCommonFunction::getLocalString(QStringLiteral("IDS_BUTTON_EXECUTE")), m_window);
    _executeBtn->setObjectName(QStringLiteral("_executeBtn"));
    _executeBtn->setDefault(true);
    _oldPwdTextField = passwordField(m_window, "_oldPwdTextField");
    _newPwdTextField = passwordField(m_window, "_newPwdTextField");
    _verifyPwdTextField = passwordField(m_window, "_verifyPwdTextField");
    auto* help = new QPushButton(QStringLiteral("?"), m_window);
    help->setObjectName(QStringLiteral("helpBtn"));
    help->setToolTip(HWCommonFunction::getLocalString(QStringLiteral("IDS_BUTTON_HELP")));
    help->setAccessibleName(help->toolTip());

    auto* cells = new QGroupBox(HWCommonFunction::getLocalString(QStringLiteral("IDS_LABEL_OPERATION")), m_window);
    auto* cellLayout = new QHBoxLayout(cells);
    _operationBtn = new QButtonGroup(m_window);
    const struct {
        int tag;
        const char* key;
    } operations[] = {
        {kAddPassword, "IDS_OPERATION_ADD"},
        {kChangePassword, "IDS_OPERATION_CHANGE"},
        {kDeletePassword, "IDS_OPERATION_DELETE"},
    };
    for (const auto& operation : operations) {
        auto* cell = new QRadioButton(HWCommonFunction::getLocalString(QLatin1String(operation.key)), cells);
        cell->setObjectName(QStringLiteral("operationCell%1").arg(operation.tag));
        _operationBtn->addButton(cell, operation.tag);
        cellLayout->addWidget(cell);
    }

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(_dbPathTextField, 1);
    pathRow->addWidget(_btnSelectPLDB);
    auto* fields = new QFormLayout;
    fields->addRow(HWCommonFunction::getLocalString(QStringLiteral("IDS_LABEL_CURRENT_PASSWORD")), _oldPwdTextField);
    fields->addRow(HWCommonFunction::getLocalString(QStringLiteral("IDS_LABEL_NEW_PASSWORD")), _newPwdTextField);
    fields->addRow(HWCommonFunction::getLocalString(QStringLiteral("IDS_LABEL_VERIFY_PASSWORD")), _verifyPwdTextField);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(_executeBtn);
    auto* layout = new QVBoxLayout(m_window);
    auto* pathLabel = new QLabel(HWCommonFunction::getLocalString(QStringLiteral("IDS_LABEL_DATABASE")), m_window);
    pathLabel->setBuddy(_dbPathTextField);
    layout->addWidget(pathLabel);
    layout->addLayout(pathRow);
    layout->addWidget(cells);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(_btnSelectPLDB, &QPushButton::clicked, this, &HWMainWindowController::doSelectDBFilePath);
    connect(_executeBtn, &QPushButton::clicked, this, &HWMainWindowController::doExecuteBtn);
    connect(help, &QPushButton::clicked, this, &HWMainWindowController::doHelp);
    connect(_operationBtn, &QButtonGroup::idClicked, this, &HWMainWindowController::doChangeOperationType);
    awakeFromNib();
}

HWMainWindowController::~HWMainWindowController()
{
    delete m_window;
}

void HWMainWindowController::awakeFromNib()
{
    if (!_dbController)
        _dbController = std::make_unique<HWDatabaseController>();
    initDBPathTextField();
    _dbController->setDBPath(_dbPathTextField->text());
    _isHasPassword = _dbController->isHasPassword();
    m_window->setWindowTitle(HWCommonFunction::getLocalString(ToolMessages::kWindowTitleKey));
}

void HWMainWindowController::applicationDidFinishLaunching()
{
    updateControlStatus();
}

void HWMainWindowController::initDBPathTextField()
{
    _dbPathTextField->setText(HWCommonFunction::initialDBPath());
}

void HWMainWindowController::doSelectDBFilePath()
{
    const QString chosen = FolderChooser::chooseDatabaseFolder(m_window, _dbPathTextField->text());
    if (!chosen.isEmpty())
        onSelectDBFilePath({QUrl::fromLocalFile(chosen)});
}

void HWMainWindowController::onSelectDBFilePath(const QList<QUrl>& urls)
{
    if (!urls.isEmpty()) {
        const QString path = urls.first().toLocalFile();
        if (!_dbController->dbPath().isEmpty() && isSamePath(_dbController->dbPath(), path))
            return;
        _dbPathTextField->setText(path);
    }
    _dbController->setDBPath(_dbPathTextField->text());
    _isHasPassword = _dbController->isHasPassword();
    updateControlStatus();
}

void HWMainWindowController::doHelp()
{
    HelpPage::LocateHelpPageByAnchor(kHelpAnchor);
}

void HWMainWindowController::updateControlStatus()
{
    updateOperationBtnStatus();
    updatePwdTextStatus();
    updateExecuteBtnStatus();
    updateFirstResponder();
}

QRadioButton* HWMainWindowController::operationCell(int tag) const
{
    return static_cast<QRadioButton*>(_operationBtn->button(tag));
}

void HWMainWindowController::selectOperationCell(int tag)
{
    if (tag == kNoOperation) {
        // An exclusive group keeps one button checked; let go of it to show no selection.
        _operationBtn->setExclusive(false);
        for (QAbstractButton* cell : _operationBtn->buttons())
            cell->setChecked(false);
        _operationBtn->setExclusive(true);
        return;
    }
    operationCell(tag)->setChecked(true);
}

void HWMainWindowController::updateOperationBtnStatus()
{
    if (HWCommonFunction::isBlank(_dbPathTextField->text())) {
        selectOperationCell(kNoOperation);
        for (QAbstractButton* cell : _operationBtn->buttons())
            cell->setEnabled(false);
        return;
    }
    _iPwdOperationType = _isHasPassword ? kChangePassword : kAddPassword;
    selectOperationCell(_iPwdOperationType);
    operationCell(kAddPassword)->setEnabled(!_isHasPassword);
    operationCell(kChangePassword)->setEnabled(_isHasPassword);
    operationCell(kDeletePassword)->setEnabled(_isHasPassword);
}

void HWMainWindowController::updatePwdTextStatus()
{
    const bool hasPath = !HWCommonFunction::isBlank(_dbPathTextField->text());
    const int operation = hasPath ? _operationBtn->checkedId() : kNoOperation;
    _oldPwdTextField->setEnabled(operation == kChangePassword || operation == kDeletePassword);
    _newPwdTextField->setEnabled(operation == kAddPassword || operation == kChangePassword);
    _verifyPwdTextField->setEnabled(operation == kAddPassword || operation == kChangePassword);
    _oldPwdTextField->clear();
    _newPwdTextField->clear();
    _verifyPwdTextField->clear();
}

void HWMainWindowController::updateExecuteBtnStatus()
{
    _executeBtn->setEnabled(!HWCommonFunction::isBlank(_dbPathTextField->text()));
}

void HWMainWindowController::focus(QWidget* widget)
{
    m_firstResponder = widget;
    widget->setFocus();
}

void HWMainWindowController::updateFirstResponder()
{
    if (HWCommonFunction::isBlank(_dbPathTextField->text())) {
        focus(_btnSelectPLDB);
        return;
    }
    for (QLineEdit* field : {_oldPwdTextField, _newPwdTextField, _verifyPwdTextField}) {
        if (field->isEnabled() && field->text().isEmpty()) {
            focus(field);
            return;
        }
    }
    focus(_executeBtn);
}

void HWMainWindowController::doChangeOperationType()
{
    const int tag = _operationBtn->checkedId();
    if (tag == _iPwdOperationType)
        return;
    _iPwdOperationType = tag;
    updatePwdTextStatus();
    updateFirstResponder();
}

bool HWMainWindowController::validateBeforeDoExecute()
{
    const QString current = _oldPwdTextField->text();
    const QString fresh = _newPwdTextField->text();
    const QString repeat = _verifyPwdTextField->text();
    const auto clearNewAndRepeat = [this] {
        _newPwdTextField->clear();
        _verifyPwdTextField->clear();
    };
    switch (_operationBtn->checkedId()) {
    case kAddPassword: {
        if (HWCommonFunction::isEmptyString(fresh) || HWCommonFunction::isEmptyString(repeat)) {
            HWMessage::ShowHWErrorMessage(kMsgNewPasswordEmpty);
            return false;
        }
        QString illegal = HWCommonFunction::getIllegalCharactersInPwdString(fresh);
        if (illegal.isEmpty())
            illegal = HWCommonFunction::getIllegalCharactersInPwdString(repeat);
        if (!illegal.isEmpty()) {
            HWMessage::ShowHWErrorMessage(kMsgIllegalCharacters, {illegal});
            clearNewAndRepeat();
            return false;
        }
        if (fresh != repeat) {
            HWMessage::ShowHWErrorMessage(kMsgPasswordsDiffer);
            clearNewAndRepeat();
            return false;
        }
        return true;
    }
    case kChangePassword: {
        if (HWCommonFunction::isEmptyString(current)) {
            HWMessage::ShowHWErrorMessage(kMsgCurrentPasswordEmpty);
            return false;
        }
        if (HWCommonFunction::isEmptyString(fresh) || HWCommonFunction::isEmptyString(repeat)) {
            HWMessage::ShowHWErrorMessage(kMsgNewPasswordEmpty);
            return false;
        }
        const QString illegalCurrent = HWCommonFunction::getIllegalCharactersInPwdString(current);
        const QString illegalNew = HWCommonFunction::getIllegalCharactersInPwdString(fresh);
        const QString illegalRepeat = HWCommonFunction::getIllegalCharactersInPwdString(repeat);
        if (!illegalCurrent.isEmpty())
            _oldPwdTextField->clear();
        if (!illegalNew.isEmpty() || !illegalRepeat.isEmpty())
            clearNewAndRepeat();
        for (const QString& illegal : {illegalCurrent, illegalNew, illegalRepeat}) {
            if (!illegal.isEmpty()) {
                HWMessage::ShowHWErrorMessage(kMsgIllegalCharacters, {illegal});
                return false;
            }
        }
        if (fresh != repeat) {
            HWMessage::ShowHWErrorMessage(kMsgPasswordsDiffer);
            clearNewAndRepeat();
            return false;
        }
        return true;
    }
    case kDeletePassword: {
        if (HWCommonFunction::isEmptyString(current)) {
            HWMessage::ShowHWErrorMessage(kMsgCurrentPasswordEmpty);
            return false;
        }
        const QString illegal = HWCommonFunction::getIllegalCharactersInPwdString(current);
        if (!illegal.isEmpty()) {
            HWMessage::ShowHWErrorMessage(kMsgIllegalCharacters, {illegal});
            _oldPwdTextField->clear();
            return false;
        }
        return true;
    }
    default:
        return true;
    }
}

void HWMainWindowController::doExecuteBtn()
{
    int versionError = 0;
    _dbController->isDatabaseV53(&versionError, _dbPathTextField->text());
    if (versionError == ToolSqlite::kNewerDatabase) {
        HWMessage::ShowHWErrorMessage(kMsgNewerDatabase);
        return;
    }
    if (!validateBeforeDoExecute()) {
        updateFirstResponder();
        return;
    }

    int result = 0;
    switch (_operationBtn->checkedId()) {
    case kDeletePassword:
        if (HWMessage::ShowHWInfoMessage(kDeleteQuestionKey, ToolMessages::kButtonYes, ToolMessages::kButtonNo, QString()) != 1) {
            _oldPwdTextField->clear();
            updateFirstResponder();
            return;
        }
        result = _dbController->deletePassword(_oldPwdTextField->text());
        break;
    case kChangePassword:
        result = _dbController->changePassword(_oldPwdTextField->text(), _newPwdTextField->text());
        break;
    case kAddPassword:
        result = _dbController->addPassword(_newPwdTextField->text());
        break;
    default:
        break;
    }

    if (result != 0) {
        HWMessage::ShowHWErrorMessage(result);
        // A lock that would not let go after the file was written: the change itself is done.
        if (!_dbController->passwordFileChanged()) {
            if (result == kMsgWrongPassword)
                updatePwdTextStatus();
            updateFirstResponder();
            return;
        }
    }
    _isHasPassword = _dbController->isHasPassword();
    HWMessage::ShowHWErrorMessage(kMsgDone);
    updateControlStatus();
}
