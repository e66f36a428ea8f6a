#pragma once
// The notification area: icons added, changed and removed with a message-style call, and the icon's mouse
// activity delivered back to its window as the callback message it was added with (the mouse message
// in the second parameter, the icon's identifier in the first). The system's service sits on
// QSystemTrayIcon; tests hand the windows a double of NotificationArea instead.

#include "platform/windowhandle.h"

#include <QIcon>
#include <QString>
#include <QSystemTrayIcon>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace tervolin::platform {

namespace NotifyIconFlags {
inline constexpr std::uint32_t NIF_MESSAGE = 1;  // uCallbackMessage is valid
inline constexpr std::uint32_t NIF_ICON = 2;     // hIcon is valid
inline constexpr std::uint32_t NIF_TIP = 4;      // szTip is valid
}  // namespace NotifyIconFlags

namespace NotifyIconOperations {
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;
}  // namespace NotifyIconOperations

// Mouse messages an icon's callback carries in its second parameter.
namespace NotifyIconMouse {
inline constexpr std::uint32_t WM_LBUTTONUP = 0x202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x203;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x206;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x208;
}  // namespace NotifyIconMouse

/// One icon's record. An icon is known by its window and identifier.
struct NotifyIconData
{
    WindowHandle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip;
};

/// Delivers an icon's callback message to its window: (window, message, first, second parameter).
using NotifyCallback = std::function<void(WindowHandle, std::uint32_t, std::intptr_t, std::intptr_t)>;

class NotificationArea
{
public:
    virtual ~NotificationArea() = default;

    /// Adds, changes or removes an icon; false when the operation could not be done (an unknown icon,
    /// an icon added twice).
    virtual bool Shell_NotifyIcon(std::uint32_t operation, const NotifyIconData& data) = 0;
    /// Whether the desktop shows a notification area at all (a bare X server has none).
    virtual bool isAvailable() const = 0;
};

/// The mouse message a tray activation stands for: left double click 0x203, single left click 0x202,
/// right click 0x205, middle click 0x208; 0 for an activation that is no click.
std::uint32_t callbackMouseMessage(QSystemTrayIcon::ActivationReason reason);

/// The system's notification area over QSystemTrayIcon.
class SystemNotificationArea : public NotificationArea
{
public:
    explicit SystemNotificationArea(NotifyCallback callback);
    ~SystemNotificationArea() override;

    bool Shell_NotifyIcon(std::uint32_t operation, const NotifyIconData& data) override;
    bool isAvailable() const override;

    /// The icon shown for a window and identifier, or nullptr.
    QSystemTrayIcon* trayIcon(WindowHandle hWnd, std::uint32_t uID) const;

private:
    struct Entry
    {
        std::unique_ptr<QSystemTrayIcon> icon;
        std::uint32_t callbackMessage = 0;
    };
    using Key = std::pair<WindowHandle, std::uint32_t>;

    void apply(Entry& entry, const NotifyIconData& data);

    NotifyCallback callback_;
    std::map<Key, Entry> icons_;
};

}  // namespace tervolin::platform
