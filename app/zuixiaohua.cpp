#include "app/zuixiaohua.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "app/appresources.h"
#include "platform/windowproc.h"

namespace tervolin::app::zuixiaohua {
namespace {

using platform::NotifyIconData;
using namespace platform::NotifyIconFlags;
using namespace platform::NotifyIconOperations;

// The system's notification area lives as long as the application object, so its icons go before Qt does.
class SystemAreaHolder : public QObject
{
public:
    explicit SystemAreaHolder(QObject* parent) : QObject(parent), area(deliverTrayCallback) {}
    platform::SystemNotificationArea area;
};

platform::NotificationArea* chosenArea = nullptr;
// The main window's procedure before TrayWindowProc, and TrayWindowProc's place in the chain.
platform::WindowProcRef previousProc;
platform::WindowProcRef trayProc;

std::intptr_t callPreviousProc(platform::WindowHandle hWnd, std::uint32_t uMsg, std::intptr_t wParam, std::intptr_t lParam)
{
    return platform::callWindowProc(previousProc, hWnd, uMsg, static_cast<platform::WParam>(wParam),
                                    static_cast<platform::LParam>(lParam));
}
bool warnedNoTray = false;

platform::NotificationArea& systemArea()
{
    static QPointer<SystemAreaHolder> holder;
    if (!holder)
        holder = new SystemAreaHolder(QCoreApplication::instance());
    return holder->area;
}

}  // namespace

WindowProcedure SavedWindowProc = nullptr;

platform::NotificationArea& notificationArea() { return chosenArea ? *chosenArea : systemArea(); }

void setNotificationArea(platform::NotificationArea* area)
{
    chosenArea = area;
    warnedNoTray = false;
}

std::intptr_t TrayWindowProc(platform::WindowHandle hWnd, std::uint32_t uMsg, std::intptr_t wParam, std::intptr_t lParam)
{
    if (uMsg == TrayCallbackMessage && lParam == platform::NotifyIconMouse::WM_LBUTTONDBLCLK) {
        if (QWidget* window = platform::widgetOf(hWnd)) {
            window->setWindowState(Qt::WindowNoState);
            window->show();
            window->activateWindow();
        }
    }
    return SavedWindowProc ? SavedWindowProc(hWnd, uMsg, wParam, lParam) : 0;
}

void InstallHook(QWidget* window)
{
    const platform::WindowHandle hWnd = platform::handleOf(window);
    previousProc = platform::getWindowProc(hWnd);
    SavedWindowProc = &callPreviousProc;
    trayProc = platform::setWindowProc(hWnd, [](platform::WindowHandle w, platform::Message m, platform::WParam wp, platform::LParam lp) {
        return static_cast<platform::LResult>(TrayWindowProc(w, m, wp, lp));
    });
}

void AddTrayIcon(QWidget* window)
{
    NotifyIconData data;
    data.hWnd = platform::handleOf(window);
    data.uID = TrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayCallbackMessage;
    data.hIcon = window->windowIcon().isNull() ? programIcon() : window->windowIcon();
    data.szTip = window->windowTitle();
    notificationArea().Shell_NotifyIcon(NIM_ADD, data);  // without an icon the program runs on
}

void RemoveTrayIcon(QWidget* window)
{
    NotifyIconData data;
    data.hWnd = platform::handleOf(window);
    data.uID = TrayIconId;
    notificationArea().Shell_NotifyIcon(NIM_DELETE, data);
}

void HideOnMinimise(QWidget* window)
{
    if (!window->isMinimized())
        return;
    if (notificationArea().isAvailable()) {
        window->hide();
        return;
    }
    // Hidden, the window could not be brought back: there is no icon to double-click.
    if (!warnedNoTray) {
        warnedNoTray = true;
        std::fputs("Tervolin: no notification area on this desktop; the minimised window is left on the taskbar.\n", stderr);
    }
}

void deliverTrayCallback(platform::WindowHandle hWnd, std::uint32_t uMsg, std::intptr_t wParam, std::intptr_t lParam)
{
    // Through the window's chain once the hook is installed, so every procedure of the window sees it.
    if (trayProc && platform::installedProcCount(hWnd) > 0)
        platform::sendMessage(hWnd, uMsg, static_cast<platform::WParam>(wParam), static_cast<platform::LParam>(lParam));
    else
        TrayWindowProc(hWnd, uMsg, wParam, lParam);
}

}  // namespace tervolin::app::zuixiaohua
