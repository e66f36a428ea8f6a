#include "app/form1history.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "app/crashhistory.h"
#include "controls/button/vantlebutton.h"
#include "platform/twips.h"

namespace tervolin::app {

Form1History::Form1History(QWidget& window, const Form1Controls& controls, KnowledgeBase& knowledge)
    : QObject(&window), window_(window), c_(controls), knowledge_(knowledge), link_(new QLabel(QStringLiteral("崩溃记录"), &window))
{
    link_->setObjectName(QStringLiteral("LabelHistory"));
    link_->setGeometry(linkRect());
    link_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link_->setCursor(Qt::PointingHandCursor);
    link_->setToolTip(QStringLiteral("读取 Windows 的崩溃转储文件，查看每次蓝屏的代码和可能相关的驱动"));
    link_->setAccessibleName(QStringLiteral("崩溃记录"));
    link_->setAccessibleDescription(link_->toolTip());
    // Reached with Tab after the window's other controls; Enter or Space opens it, as a click does.
    link_->setFocusPolicy(Qt::TabFocus);
    link_->setAttribute(Qt::WA_NoMousePropagation);
    link_->setAttribute(Qt::WA_Hover);
    Form1Layout::setTextColour(*link_, Form1Layout::ButtonText);
    link_->installEventFilter(this);
    link_->show();

    window.setAcceptDrops(true);
    window.installEventFilter(this);
    for (QWidget* child : window.findChildren<QWidget*>())
        if (child != link_)
            child->installEventFilter(this);
}

QRect Form1History::linkRect() { return platform::twipsToPixels(7800, 1020, 1095, 255); }

QStringList Form1History::pathsFromArguments(const QStringList& arguments)
{
    QStringList paths;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        const QUrl url(argument);
        paths << (argument.startsWith(QStringLiteral("file:")) && url.isLocalFile() ? url.toLocalFile() : argument);
    }
    return paths;
}

CrashHistory* Form1History::history() const { return history_; }

CrashHistory& Form1History::showHistory()
{
    if (!history_) {
        history_ = new CrashHistory(knowledge_, &window_);
        connect(history_, &CrashHistory::codeSelected, this, &Form1History::search);
    }
    history_->show();
    history_->raise();
    history_->activateWindow();
    return *history_;
}

void Form1History::openPaths(const QStringList& paths)
{
    CrashHistory& history = showHistory();
    history.openPaths(paths);
}

void Form1History::search(const QString& key)
{
    // The user's own way to a search: the code in the input box, then 查询.
    c_.Text1->setText(key);
    Q_EMIT c_.Command1->Click();
}

void Form1History::setLinkHover(bool on)
{
    Form1Layout::setTextColour(*link_, on ? Form1Layout::Label6HoverText : Form1Layout::ButtonText);
    QFont font = link_->font();
    font.setUnderline(on || link_->hasFocus());
    link_->setFont(font);
}

bool Form1History::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == link_) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::FocusIn:
            setLinkHover(true);
            break;
        case QEvent::Leave:
        case QEvent::FocusOut:
            setLinkHover(link_->underMouse());
            break;
        case QEvent::MouseButtonPress:
            linkPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = linkPressed_ && mouse->button() == Qt::LeftButton && link_->rect().contains(mouse->position().toPoint());
            linkPressed_ = false;
            if (click)
                showHistory();
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                showHistory();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }
    // Files dropped anywhere on the window, also on a text box that would take their names as text.
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = drop->mimeData()->hasUrls() ? localPaths(drop->mimeData()->urls()) : QStringList();
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop)
            openPaths(paths);
        return true;
    }
    return false;
}

}  // namespace tervolin::app
