// The password sheet of the optimisation tool: asks for the database's password before a run.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class VSPasswordWndController : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxPasswordLength = 16;
    inline static const QString kHelpAnchor = QStringLiteral("db_password.html");

    explicit VSPasswordWndController(QWidget* parent = nullptr);

    // The database folder to check; clears the result.
    void setDBFilePath(const QString& folder);
    // The folder has a password file.
    bool isHasPassword() const;
    // Shows the sheet until it is closed; `getPwdCheckedResult` then tells whether a correct password was given.
    void showSheetWindow();
    bool getPwdCheckedResult() const { return _pwdIsCorrect; }
    // No password file, or its content is the digest of `password`.
    bool checkPwdIsCorrect(const QString& password) const;

    void doOkClick();
    void doCancelClick();
    void doHelpClick();
    void controlTextDidChange();

    QLineEdit* _dbFilePath = nullptr;
    QPushButton* _okBtn = nullptr;
    QLineEdit* _passwordTextField = nullptr;

private:
    QString _dbPath;
    int _stopModalReturnCode = 0;
    bool _pwdIsCorrect = false;
};
