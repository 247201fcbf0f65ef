// The password tool's window: the database folder, the operation (add, change or delete the
// password) and the three password fields.
#pragma once

#include "tools/password/HWDatabaseController.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

class HWMainWindowController : public QObject {
    Q_OBJECT
public:
    enum Operation { kNoOperation = 0, kAddPassword = 1, kChangePassword = 2, kDeletePassword = 3 };
    static constexpr int kMaxPasswordLength = 16;
    inline static const QString kHelpAnchor = QStringLiteral("db_pass_ope.html");
    inline static const QString kDeleteQuestionKey = QStringLiteral("IDS_MSG_CONFIRM_DEL_PWD");

    // `dbController` empty: the window makes its own.
    explicit HWMainWindowController(std::unique_ptr<HWDatabaseController> dbController = nullptr);
    ~HWMainWindowController() override;

    QWidget* window() const { return m_window; }
    // The control that was last given the keyboard focus.
    QWidget* firstResponder() const { return m_firstResponder; }
    int operationType() const { return _iPwdOperationType; }

    void awakeFromNib();
    void applicationDidFinishLaunching();
    void doChangeOperationType();
    void doExecuteBtn();
    void doHelp();
    void doSelectDBFilePath();
    void onSelectDBFilePath(const QList<QUrl>& urls);
    void initDBPathTextField();
    void updateControlStatus();
    void updateOperationBtnStatus();
    void updatePwdTextStatus();
    void updateExecuteBtnStatus();
    void updateFirstResponder();
    bool validateBeforeDoExecute();

    QLineEdit* _dbPathTextField = nullptr;
    QPushButton* _btnSelectPLDB = nullptr;
    QPushButton* _executeBtn = nullptr;
    QLineEdit* _newPwdTextField = nullptr;
    QLineEdit* _oldPwdTextField = nullptr;
    QLineEdit* _verifyPwdTextField = nullptr;
    QButtonGroup* _operationBtn = nullptr;

private:
    QRadioButton* operationCell(int tag) const;
    void selectOperationCell(int tag);
    void focus(QWidget* widget);

    QWidget* m_window = nullptr;
    QWidget* m_firstResponder = nullptr;
    std::unique_ptr<HWDatabaseController> _dbController;
    bool _isHasPassword = false;
    int _iPwdOperationType = kNoOperation;
};
