// A modal message panel with a bold title, a message whose words may link to help pages
// (<help anchor="name">words</help>), up to three buttons placed from the right and an optional
// check box. Return or Enter in the message ends the run with the button that holds Return.
#pragma once

#include "app/ui/logic/LinkMessageMarkup.h"

#include <QMap>
#include <QObject>
#include <QString>

class PLLinkTextView;
class QAbstractButton;
class QCheckBox;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

class PLLinkMessageController : public QObject {
    Q_OBJECT
public:
    PLLinkMessageController(QWidget* window, QObject* parent = nullptr);
    ~PLLinkMessageController() override;

    // 0, 1 or 2: the button that closed the panel; -2 without a message. `defaultBtn` chooses the
    // button that takes Return (the first when that button is not shown). `chkBtnAction` runs
    // with the check box's state when it is toggled.
    int runMessageWindowWithTitle(const QString& title, const QString& message, const QString& firstBtn, const QString& secondBtn,
                                  const QString& thirdBtn, int defaultBtn, const QString& chkBtn, bool chkBtnDefaultState,
                                  std::function<void(bool)> chkBtnAction = {});
    // 0 when the check box is hidden, else its state.
    int getCheckBoxState() const;

    QDialog* window() const { return _linkMessageWindow; }
    // The anchors of the shown message by "location/length".
    const QMap<QString, QString>& anchors() const { return _anchorTextDic; }
    // What a click on the link of `linkText` opens; false when the help page could not be shown.
    bool clickedOnLink(const QString& linkText);

private:
    void buttonAction(int code);
    void enterButtonAction();
    void setDefaultButton(int number);
    void setControl(QWidget* control, const QString& title);
    void setMessageToTextView(const LinkMessageMarkup::Parsed& parsed);
    void resizeMessageWindow();

    QDialog* _linkMessageWindow = nullptr;
    QLabel* _iconImage = nullptr;
    QLabel* _titleText = nullptr;
    PLLinkTextView* _textView = nullptr;
    QPushButton* _firstButton = nullptr;
    QPushButton* _secondButton = nullptr;
    QPushButton* _thirdButton = nullptr;
    QCheckBox* _chkButton = nullptr;
    QMap<QString, QString> _anchorTextDic;
    std::function<void(bool)> m_checkAction;
};
