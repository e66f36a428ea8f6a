#include "platform/trayicon.h"

namespace tervolin::platform {

std::uint32_t callbackMouseMessage(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return NotifyIconMouse::WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Trigger:
        return NotifyIconMouse::WM_LBUTTONUP;
    case QSystemTrayIcon::Context:
        return NotifyIconMouse::WM_RBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return NotifyIconMouse::WM_MBUTTONUP;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

SystemNotificationArea::SystemNotificationArea(NotifyCallback callback) : callback_(std::move(callback)) {}

SystemNotificationArea::~SystemNotificationArea() = default;

bool SystemNotificationArea::isAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

QSystemTrayIcon* SystemNotificationArea::trayIcon(WindowHandle hWnd, std::uint32_t uID) const
{
    const auto it = icons_.find({hWnd, uID});
    return it == icons_.end() ? nullptr : it->second.icon.get();
}

void SystemNotificationArea::apply(Entry& entry, const NotifyIconData& data)
{
    if (data.uFlags & NotifyIconFlags::NIF_MESSAGE)
        entry.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NotifyIconFlags::NIF_ICON)
        entry.icon->setIcon(data.hIcon);
    if (data.uFlags & NotifyIconFlags::NIF_TIP)
        entry.icon->setToolTip(data.szTip);
}

bool SystemNotificationArea::Shell_NotifyIcon(std::uint32_t operation, const NotifyIconData& data)
{
    const Key key{data.hWnd, data.uID};
    const auto it = icons_.find(key);
    switch (operation) {
    case NotifyIconOperations::NIM_ADD: {
        if (it != icons_.end() || !widgetOf(data.hWnd))
            return false;
        Entry& entry = icons_[key];
        entry.icon = std::make_unique<QSystemTrayIcon>();
        apply(entry, data);
        // The entry is looked up on each activation: the icon may have been removed in between.
        QObject::connect(entry.icon.get(), &QSystemTrayIcon::activated, entry.icon.get(),
                         [this, key](QSystemTrayIcon::ActivationReason reason) {
                             const auto found = icons_.find(key);
                             const std::uint32_t mouse = callbackMouseMessage(reason);
                             if (found == icons_.end() || mouse == 0 || found->second.callbackMessage == 0 || !callback_)
                                 return;
                             callback_(key.first, found->second.callbackMessage, static_cast<std::intptr_t>(key.second),
                                       static_cast<std::intptr_t>(mouse));
                         });
        // An icon without an image cannot be shown; it is still known, so that it can be changed or removed.
        if (!entry.icon->icon().isNull())
            entry.icon->show();
        return true;
    }
    case NotifyIconOperations::NIM_MODIFY:
        if (it == icons_.end())
            return false;
        apply(it->second, data);
        if (!it->second.icon->icon().isNull())
            it->second.icon->show();
        return true;
    case NotifyIconOperations::NIM_DELETE: {
        if (it == icons_.end())
            return false;
        // The removal may come from within the icon's own activation: let Qt delete it once that is over.
        QSystemTrayIcon* icon = it->second.icon.release();
        icons_.erase(it);
        QObject::disconnect(icon, nullptr, nullptr, nullptr);
        icon->hide();
        icon->deleteLater();
        return true;
    }
    default:
        return false;
    }
}

}  // namespace tervolin::platform
