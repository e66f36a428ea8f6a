// The start-up benchmark's baselines: a frameless window of the main window's size, empty or with one label in the
// main window's CJK font; each reports its first paint as the program does (app/firstpaintreport.h).
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "app/firstpaintreport.h"
#include "platform/font.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(627, 421);
#ifdef TERVOLIN_BASELINE_LABEL
    tervolin::platform::installFontSubstitutions();
    window.setFont(QFont(QStringLiteral("宋体"), 9));
    QLabel label(QStringLiteral("输入代码："), &window);
    label.setGeometry(48, 40, 65, 25);
#endif
    tervolin::app::FirstPaintReport::watch(window);
    window.show();
    return QApplication::exec();
}
