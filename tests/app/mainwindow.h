#pragma once
// The main window for tests: opened as the program opens it, its controls found as a user's tools find them, by
// their object names (the designer names).

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include "app/form1.h"
#include "app/form1layout.h"
#include "app/startup.h"
#include "app/userdata.h"
#include "controls/button/vantlebutton.h"
#include "platform/listbox.h"

namespace tervolin::test {

template <typename Widget>
void findNamed(const QWidget& form, Widget*& widget, const char* name)
{
    widget = form.findChild<Widget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    EXPECT_NE(widget, nullptr) << "the main window has no " << name;
}

inline app::Form1Controls form1Controls(const QWidget& form)
{
    app::Form1Controls c;
    findNamed(form, c.Text1, "Text1");
    findNamed(form, c.List1, "List1");
    findNamed(form, c.Text2, "Text2");
    findNamed(form, c.Text3, "Text3");
    findNamed(form, c.Command1, "Command1");
    findNamed(form, c.vantlebutton2, "vantlebutton2");
    findNamed(form, c.vantlebutton3, "vantlebutton3");
    findNamed(form, c.Label1, "Label1");
    findNamed(form, c.Label2, "Label2");
    findNamed(form, c.Label3, "Label3");
    findNamed(form, c.Label4, "Label4");
    findNamed(form, c.Label5, "Label5");
    findNamed(form, c.Label6, "Label6");
    findNamed(form, c.Label7, "Label7");
    findNamed(form, c.Label8, "Label8");
    return c;
}

/// Processes events until the window's code list is complete (it is read on a worker thread after the window is
/// built); false when that takes longer than a minute.
inline bool waitForCodeList(const app::Form1& form)
{
    QElapsedTimer timer;
    timer.start();
    while (!form.isCodeListLoaded() && timer.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return form.isCodeListLoaded();
}

enum class CodeList { Loaded, Loading };

/// Loads the main window on the db1.mdb in `directory` (made the application directory) and finds its controls;
/// shows it centred and active unless `shown` is false. Unless told otherwise, waits for the code list.
inline void openMainWindow(const QString& directory, platform::MessageBoxService& box, std::unique_ptr<app::Form1>& form,
                           app::Form1Controls& ui, bool shown = true, CodeList codeList = CodeList::Loaded)
{
    form.reset();
    app::UserData::setApplicationDirectory(directory);
    form = app::loadMainWindow(box);
    ASSERT_NE(form, nullptr) << "the main window did not open on " << directory.toStdString();
    ui = form1Controls(*form);
    if (shown) {
        form->showCentred();
        QApplication::setActiveWindow(form.get());
        QApplication::processEvents();
    }
    if (codeList == CodeList::Loaded) {
        ASSERT_TRUE(waitForCodeList(*form)) << "the code list did not load";
    }
}

}  // namespace tervolin::test
