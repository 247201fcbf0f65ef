// The optimisation tool's window: the database folder, Execute, and a progress line that ends
// in "100%" or in a numbered message.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class VSOptimizeDBController;
class VSPasswordWndController;

class VSMainWindowController : public QObject {
    Q_OBJECT
public:
    enum ProcessStatus { kRunning = 0, kFinished = 1, kIdle = 2 };
    inline static const QString kHelpAnchor = QStringLiteral("db_optimized.html");

    VSMainWindowController();
    ~VSMainWindowController() override;

    QWidget* window() const { return m_window; }

    void awakeFromNib();
    void applicationDidFinishLaunching();
    void doSelectPath();
    void doHelp();
    void doExecute();
    void onSelectPath(const QList<QUrl>& urls);
    void updateExecuteBtnStatus();
    void initDBFilePath();
    void initView();
    void refreshByProcessStatus(int status);

    // The SQLite shell the runs use (the system's unless changed).
    void setShellPath(const QString& shellPath) { m_shellPath = shellPath; }
    // The backup folder the last run made (it stays when the optimisation failed).
    QString lastBackupPath() const { return m_lastBackupPath; }

    QLineEdit* _dbFilePath = nullptr;
    QLabel* _optimizeStatusText = nullptr;
    QLabel* _percentageText = nullptr;
    QProgressBar* _progressBar = nullptr;
    QPushButton* _btnSelectPLDB = nullptr;
    QPushButton* _btnHelp = nullptr;
    QPushButton* _btnExecute = nullptr;
    VSPasswordWndController* _pwdWndController = nullptr;

private:
    // The message of a run's result, 0 when it has none.
    static int messageForRunResult(int result);
    int checkBeforeRun(const QString& folder, QString* storePath);

    QWidget* m_window = nullptr;
    std::unique_ptr<VSOptimizeDBController> _optimizeDBController;
    QString m_shellPath;
    QString m_lastBackupPath;
};
