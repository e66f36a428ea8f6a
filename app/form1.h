#pragma once
// Form1: the main window with the code input, the list of every code, the analysis and solution boxes,
// and the lookup procedures behind them.

#include <QWidget>

#include "platform/data/datacontrol.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tervolin::platform {
class ListBox;
class MessageBoxService;
}  // namespace tervolin::platform

namespace tervolin::app {

class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(platform::MessageBoxService& messageBox, QWidget* parent = nullptr);

    /// The load handler: data-control set-up, button captions, StartLookup. Throws platform::data::DataError.
    void Form_Load();

    void LoadCodeList();
    void StartLookup();
    void ShowRecordCount();
    void Search();
    void ListLookup();

    /// Shows the window centred on the screen with the focus in Text1.
    void showCentred();

    /// Timer3's tick (every 1000 ms): hides the window once it is minimised.
    void Timer3_Timer();

    // The window's controls, by their designer names.
    QLineEdit* Text1;
    platform::ListBox* List1;
    QPlainTextEdit* Text2;
    QPlainTextEdit* Text3;
    QPushButton* Command1;  // stands in for the owner-drawn search button
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QTimer* Timer3;
    platform::data::DataControl Adodc1;

protected:
    /// The unload handler: removes the notification-area icon.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();
    void List1_Click();
    /// Runs an event handler; a data failure inside it is reported and ends the program.
    template <typename Handler>
    void guarded(Handler handler);
    void setBoxes(const platform::data::Recordset& recordset);

    platform::MessageBoxService& messageBox_;
};

}  // namespace tervolin::app
