// The result window at the end of an upload run: one row per card with its outcome, a summary
// line, the host's result file when the host asked for one, and the user's saved report.
#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class DoUploadResult;
class GlobalData;
class PluginDialog;
class QLabel;
class QPushButton;
class QTableWidget;

// One row of the result list.
struct ResultDisplay {
    int no = 0;
    QString OrganizationName;
    QString FullName;
    QString Result;  // null for a result still pending
    QString Detail;  // null when no detail applies
};

class ResultViewController {
public:
    explicit ResultViewController(GlobalData& global);
    ~ResultViewController();
    ResultViewController(const ResultViewController&) = delete;
    ResultViewController& operator=(const ResultViewController&) = delete;

    // Fills the list and the summary line from the run's results.
    void ShowResultView();
    // Shows the window modally until OK or its close box ends the run.
    void Run();
    void DoOK();
    // Asks where to save the user's report (save panel) and writes it there.
    void DoSave();
    // The host's result file: "QuendrelResult.csv" in the application's folder of the user's data.
    static QString hostResultFile();
    // Both files are UTF-16 with a byte-order mark, rows in card order, written atomically.
    bool OutPutCSVFile(const QString& path);
    bool OutPutResultCSVFile(const QString& path);

    PluginDialog* _resultView() const { return m_window; }
    const std::vector<ResultDisplay>& rows() const { return m_rows; }

private:
    ResultDisplay displayOf(int index, const DoUploadResult& result);
    QString hostFileContent() const;
    QString reportContent() const;

    GlobalData& m_global;
    PluginDialog* m_window = nullptr;
    QLabel* _msgField = nullptr;
    QTableWidget* _resultList = nullptr;
    QPushButton* _OKButton = nullptr;
    QPushButton* _SaveButton = nullptr;
    std::vector<ResultDisplay> m_rows;
    bool m_bAllSuccess = true;
};
