// The password prompt of a database with a password file: one secure field, OK, Cancel and Help.
// The prompt runs modally, as a sheet on the main window when it is visible; the answer is read
// with getPwdCheckedResult afterwards.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

class PLPasswordController {
public:
    static constexpr const char* kHelpAnchor = "db_password.html";

    // `mainWindow`: the window the prompt is a sheet of when it is visible.
    explicit PLPasswordController(QWidget* mainWindow = nullptr);
    ~PLPasswordController();

    void setMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }
    void setDBFilePath(const QString& path);
    void showSheetWindow();
    void showModalWindow();
    bool getPwdCheckedResult() const { return _pwdIsCorrect; }
    // True when the database has no password file, or the password's digest is the file's content.
    bool checkPwdIsCorrect(const QString& password) const;

    void doOkClick();
    void doCancelClick();
    void doHelpClick();
    void controlTextDidChange();

    QDialog* window() const { return m_window.get(); }
    QLineEdit* passwordField() const { return _passwordTextField; }
    QPushButton* okButton() const { return _okBtn; }

private:
    void run(bool sheet);
    void clearField();

    std::unique_ptr<QDialog> m_window;
    QWidget* m_mainWindow = nullptr;
    QLabel* _dbFilePath = nullptr;
    QPushButton* _okBtn = nullptr;
    QLineEdit* _passwordTextField = nullptr;
    QString _dbPath;
    int _stopModalReturnCode = 0;
    bool _pwdIsCorrect = false;
};
