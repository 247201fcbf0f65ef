#include "app/ui/PLLinkMessageController.h"

#include "app/core/ApplicationLookup.h"
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/ui/views/PLLinkTextView.h"
#include "platform/appkit/dialogs/ModalDialog.h"
#include "platform/foundation/NotificationCenter.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

constexpr int kLeastButtonWidth = 95;

} // namespace

PLLinkMessageController::PLLinkMessageController(QWidget* window, QObject* parent) : QObject(parent)
{
    _linkMessageWindow = new QDialog(window);
    _linkMessageWindow->setObjectName(QStringLiteral("_linkMessageWindow"));
    _linkMessageWindow->setWindowTitle(QStringLiteral("Pelmora"));
    auto* layout = new QVBoxLayout(_linkMessageWindow);
    auto* top = new QHBoxLayout;
    _iconImage = new QLabel(_linkMessageWindow);
    _iconImage->setObjectName(QStringLiteral("_iconImage"));
    _iconImage->setPixmap(_linkMessageWindow->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    auto* texts = new QVBoxLayout;
    _titleText = new QLabel(_linkMessageWindow);
    _titleText->setObjectName(QStringLiteral("_titleText"));
    _titleText->setTextFormat(Qt::PlainText);
    QFont bold = _titleText->font();
    bold.setBold(true);
    _titleText->setFont(bold);
    _textView = new PLLinkTextView(_linkMessageWindow);
    _textView->setObjectName(QStringLiteral("_textView"));
    _textView->setOpenLinks(false);
    _textView->setFrameShape(QFrame::NoFrame);
    _textView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    texts->addWidget(_titleText);
    texts->addWidget(_textView);
    top->addWidget(_iconImage, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    layout->addLayout(top);
    auto* buttons = new QHBoxLayout;
    _chkButton = new QCheckBox(_linkMessageWindow);
    _chkButton->setObjectName(QStringLiteral("_chkButton"));
    buttons->addWidget(_chkButton);
    buttons->addStretch(1);
    // Placed from the right: the first button stands at the right edge.
    _thirdButton = new QPushButton(_linkMessageWindow);
    _secondButton = new QPushButton(_linkMessageWindow);
    _firstButton = new QPushButton(_linkMessageWindow);
    _firstButton->setObjectName(QStringLiteral("_firstButton"));
    _secondButton->setObjectName(QStringLiteral("_secondButton"));
    _thirdButton->setObjectName(QStringLiteral("_thirdButton"));
    int code = 2;
    for (QPushButton* button : {_thirdButton, _secondButton, _firstButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, code] { buttonAction(code); });
        --code;
    }
    layout->addLayout(buttons);
    connect(_textView, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { clickedOnLink(url.toString()); });
    connect(_chkButton, &QCheckBox::toggled, this, [this](bool checked) {
        if (m_checkAction)
            m_checkAction(checked);
    });
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kReturnDownNotification), [this](const Notification&) {
        if (_linkMessageWindow->isVisible())
            enterButtonAction();
    });
}

PLLinkMessageController::~PLLinkMessageController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

int PLLinkMessageController::runMessageWindowWithTitle(const QString& title, const QString& message, const QString& firstBtn,
                                                        const QString& secondBtn, const QString& thirdBtn, int defaultBtn,
                                                        const QString& chkBtn, bool chkBtnDefaultState, std::function<void(bool)> chkBtnAction)
{
    if (message.isEmpty())
        return -2;
    setControl(_titleText, title);
    setControl(_firstButton, firstBtn);
    setControl(_secondButton, secondBtn);
    setControl(_thirdButton, thirdBtn);
    setControl(_chkButton, chkBtn);
    if (firstBtn.isEmpty()) {
        setControl(_firstButton, getLocalString(QStringLiteral("IDS_BUTTON_MSG_OK")));
        _secondButton->hide();
        _thirdButton->hide();
    } else if (secondBtn.isEmpty()) {
        _thirdButton->hide();
    }
    setDefaultButton(defaultBtn);
    m_checkAction = {};
    _chkButton->setChecked(chkBtnDefaultState);
    m_checkAction = std::move(chkBtnAction);

    _anchorTextDic.clear();
    const LinkMessageMarkup::Parsed parsed = LinkMessageMarkup::parseMessageString(message);
    for (const LinkMessageMarkup::Link& link : parsed.links)
        _anchorTextDic.insert(link.key(), link.anchor);
    setMessageToTextView(parsed);
    resizeMessageWindow();
    return execModal(*_linkMessageWindow);
}

int PLLinkMessageController::getCheckBoxState() const
{
    return _chkButton->isHidden() ? 0 : int(_chkButton->isChecked());
}

void PLLinkMessageController::buttonAction(int code)
{
    _linkMessageWindow->done(code);
}

void PLLinkMessageController::enterButtonAction()
{
    buttonAction(_firstButton->isDefault() ? 0 : _secondButton->isDefault() ? 1 : 2);
}

void PLLinkMessageController::setDefaultButton(int number)
{
    for (QPushButton* button : {_firstButton, _secondButton, _thirdButton})
        button->setDefault(false);
    const int chosen = LinkMessageMarkup::defaultButton(number, !_secondButton->isHidden(), !_thirdButton->isHidden());
    (chosen == 2 ? _thirdButton : chosen == 1 ? _secondButton : _firstButton)->setDefault(true);
}

void PLLinkMessageController::setControl(QWidget* control, const QString& title)
{
    if (title.isEmpty()) {
        control->hide();
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(title);
        button->setAccessibleName(title);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(title);
    }
    if (qobject_cast<QPushButton*>(control))
        control->setMinimumWidth(std::max(kLeastButtonWidth, control->sizeHint().width()));
    control->show();
}

void PLLinkMessageController::setMessageToTextView(const LinkMessageMarkup::Parsed& parsed)
{
    _textView->setPlainText(parsed.text);
    QTextCursor cursor(_textView->document());
    for (const LinkMessageMarkup::Link& link : parsed.links) {
        cursor.setPosition(link.location);
        cursor.setPosition(link.location + link.length, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorHref(parsed.text.mid(link.location, link.length));
        format.setFontUnderline(true);
        format.setForeground(_textView->palette().link());
        cursor.mergeCharFormat(format);
    }
}

void PLLinkMessageController::resizeMessageWindow()
{
    // The text area fits the message; the panel grows with it and never shrinks.
    _textView->document()->setTextWidth(_textView->viewport()->width());
    const int height = int(_textView->document()->size().height()) + 4;
    _textView->setFixedHeight(height);
    const QSize before = _linkMessageWindow->size();
    _linkMessageWindow->adjustSize();
    _linkMessageWindow->resize(_linkMessageWindow->size().expandedTo(before));
}

bool PLLinkMessageController::clickedOnLink(const QString& linkText)
{
    const QString text = _textView->toPlainText();
    QString anchor;
    for (auto it = _anchorTextDic.cbegin(); it != _anchorTextDic.cend(); ++it) {
        const QStringList range = it.key().split(QLatin1Char('/'));
        if (text.mid(range.value(0).toInt(), range.value(1).toInt()) == linkText) {
            anchor = it.value();
            break;
        }
    }
    if (LocateHelpPageByAnchor(anchor) == 0)
        return true;
    PLMessage::ShowPLErrorMessageBySheet(_linkMessageWindow, 3);
    return false;
}
