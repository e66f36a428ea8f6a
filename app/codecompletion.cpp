#include "app/codecompletion.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>

#include "app/backgroundwork.h"

namespace tervolin::app {
namespace {

constexpr int VisibleOffers = 7;

}  // namespace

CodeCompletion* CodeCompletion::attach(QLineEdit* box, const platform::TextList& codes)
{
    detach(box);
    return new CodeCompletion(box, codes);
}

void CodeCompletion::detach(QLineEdit* box) { delete box->findChild<CodeCompletion*>(QString(), Qt::FindDirectChildrenOnly); }

CodeCompletion::CodeCompletion(QLineEdit* box, const platform::TextList& codes)
    : QObject(box), box_(box), offers_(new QStringListModel(this)), window_(box->window()), popup_(new QListView(window_))
{
    // A window of its own beside the box's window that is shown without being activated and never takes the
    // focus: the box keeps the keyboard, and no mouse grab stands between the user and the other controls.
    popup_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    popup_->setAttribute(Qt::WA_ShowWithoutActivating);
    popup_->setFocusPolicy(Qt::NoFocus);
    popup_->setObjectName(QStringLiteral("completion"));
    popup_->setModel(offers_);
    popup_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    popup_->setSelectionMode(QAbstractItemView::SingleSelection);
    popup_->setSelectionBehavior(QAbstractItemView::SelectRows);
    popup_->setUniformItemSizes(true);
    popup_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    popup_->setMouseTracking(true);
    popup_->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    connect(popup_, &QListView::clicked, this, &CodeCompletion::choose);
    connect(box, &QLineEdit::textEdited, this, &CodeCompletion::offer);
    box->installEventFilter(this);
    window_->installEventFilter(this);

    // The list is implicitly shared: the worker reads its own copy while the window keeps using the list. The
    // worker tells the completion when it is done; a completion destroyed before waits for it, which drops the
    // message with the object.
    model_ = std::async(std::launch::async, [this, codes] {
                 runAsBackgroundWork();
                 auto built = std::make_shared<const CodeCompleter>(codes);
                 QMetaObject::invokeMethod(this, &CodeCompletion::indexBuilt, Qt::QueuedConnection);
                 return built;
             }).share();
}

CodeCompletion::~CodeCompletion()
{
    // The worker reads the codes until it is done; never leave it running past the completion's lifetime.
    model_.wait();
    // No filter may run while the list goes: the box may be half destroyed already (the completion is its child),
    // and the window hears of the list's removal.
    QApplication::instance()->removeEventFilter(this);
    box_->removeEventFilter(this);
    if (window_)
        window_->removeEventFilter(this);
    delete popup_.data();
}

bool CodeCompletion::isReady() const { return model_.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }

const CodeCompleter& CodeCompletion::model() const { return *model_.get(); }

void CodeCompletion::indexBuilt()
{
    if (const std::optional<QString> typed = std::exchange(typedEarly_, std::nullopt); typed && box_->hasFocus())
        offer(box_->text());
    Q_EMIT ready();
}

void CodeCompletion::offer(const QString& typed)
{
    if (!isReady()) {
        typedEarly_ = typed;
        return;
    }
    const QStringList codes = model().complete(typed);
    offers_->setStringList(codes);
    if (codes.isEmpty())
        hidePopup();
    else
        showPopup();
}

void CodeCompletion::showPopup()
{
    popup_->setFont(box_->font());
    popup_->clearSelection();
    popup_->setCurrentIndex({});
    const int rows = std::min(offers_->rowCount(), VisibleOffers);
    const int frame = 2 * popup_->frameWidth();
    const int height = rows * std::max(popup_->sizeHintForRow(0), 1) + frame;
    // As wide as the box, or as the longest offer (names are long) within the box's window.
    const int scrollBar = offers_->rowCount() > VisibleOffers ? popup_->verticalScrollBar()->sizeHint().width() : 0;
    const int width = std::clamp(popup_->sizeHintForColumn(0) + frame + scrollBar, box_->width(),
                                 std::max(box_->width(), box_->window()->width() - box_->mapTo(box_->window(), QPoint(0, 0)).x()));
    QRect geometry(box_->mapToGlobal(QPoint(0, box_->height())), QSize(width, height));
    // Above the box when there is no room below it.
    if (const QScreen* screen = box_->screen()) {
        const QRect available = screen->availableGeometry();
        if (geometry.bottom() > available.bottom())
            geometry.moveBottom(box_->mapToGlobal(QPoint(0, 0)).y() - 1);
    }
    popup_->setGeometry(geometry);
    if (!popup_->isVisible()) {
        // Every press anywhere in the program is watched while the list is shown (and let through).
        QApplication::instance()->installEventFilter(this);
        popup_->show();
    }
    popup_->scrollToTop();
}

void CodeCompletion::hidePopup()
{
    if (!popup_->isVisible())
        return;
    QApplication::instance()->removeEventFilter(this);
    popup_->hide();
}

void CodeCompletion::choose(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    hidePopup();
    box_->setText(index.data().toString());
}

bool CodeCompletion::isPartOfPopup(const QObject* object) const
{
    for (; object; object = object->parent())
        if (object == popup_)
            return true;
    return false;
}

// Keys typed into the box while the list is shown: the arrows and page keys move through the offers, Enter takes
// the chosen one, Escape closes the list; Tab closes it and moves on as always.
bool CodeCompletion::boxKey(QKeyEvent& key)
{
    const int count = offers_->rowCount();
    const int current = popup_->currentIndex().isValid() ? popup_->currentIndex().row() : -1;
    const auto moveTo = [&](int row) {
        const QModelIndex index = offers_->index(std::clamp(row, 0, count - 1));
        popup_->setCurrentIndex(index);
        popup_->scrollTo(index);
        return true;
    };
    switch (key.key()) {
    case Qt::Key_Down: return moveTo(current + 1);
    case Qt::Key_Up: return current < 0 ? true : moveTo(current - 1);
    case Qt::Key_PageDown: return moveTo(current < 0 ? VisibleOffers - 1 : current + VisibleOffers);
    case Qt::Key_PageUp: return moveTo(current - VisibleOffers);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (current < 0) {
            hidePopup();
            return false;
        }
        choose(popup_->currentIndex());
        return true;
    case Qt::Key_Escape:
        hidePopup();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        hidePopup();
        return false;
    default:
        return false;
    }
}

bool CodeCompletion::eventFilter(QObject* watched, QEvent* event)
{
    if (!popup_)
        return false;
    const bool shown = popup_->isVisible();
    switch (event->type()) {
    case QEvent::KeyPress:
        if (shown && watched == box_)
            return boxKey(static_cast<QKeyEvent&>(*event));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A press outside the list closes it and goes on to whatever it was meant for.
        if (shown && watched->isWidgetType() && !isPartOfPopup(watched) && watched != box_)
            hidePopup();
        break;
    case QEvent::FocusOut:
    case QEvent::Hide:
        if (watched == box_)
            hidePopup();
        break;
    case QEvent::Move:
    case QEvent::WindowDeactivate:
    case QEvent::WindowStateChange:
        if (watched == window_)
            hidePopup();
        break;
    default:
        break;
    }
    return false;
}

}  // namespace tervolin::app
