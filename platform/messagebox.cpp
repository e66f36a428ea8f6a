#include "platform/messagebox.h"

#include <QMessageBox>

namespace tervolin::platform {

namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void showMessageBox(const MessageBoxRequest& request)
{
    if (handler()) {
        handler()(request);
        return;
    }
    QMessageBox box(toQt(request.icon), request.title, request.text, QMessageBox::Ok, request.parent);
    box.exec();
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler h)
{
    MessageBoxHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

}  // namespace tervolin::platform
