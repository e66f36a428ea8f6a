#pragma once
// The main window's way into the crash history: the link label "崩溃记录" in the free strip under the input row,
// dump files, folders and archives dropped on the window or named on the command line, and the search that a
// selected crash asks of the main window (the code put into Text1 and 查询 clicked, as the user would).

#include <QObject>
#include <QPointer>
#include <QStringList>

#include "app/form1layout.h"

class QLabel;

namespace tervolin::app {

class CrashHistory;
class KnowledgeBase;

class Form1History : public QObject
{
    Q_OBJECT
public:
    /// Places the link on `window` and accepts drops there; the window owns the result.
    Form1History(QWidget& window, const Form1Controls& controls, KnowledgeBase& knowledge);

    /// Where the link lies: under 关于软件, between the separator line and the result line, where nothing else is.
    static QRect linkRect();

    /// Opens the history window (once) and brings it to the front.
    CrashHistory& showHistory();
    /// The dump paths among a command line's arguments (after the program's name): file names as given, file: URLs
    /// as the files they name.
    static QStringList pathsFromArguments(const QStringList& arguments);

    /// Opens the history window and reads `paths` into it.
    void openPaths(const QStringList& paths);
    /// The history window, null until first opened.
    CrashHistory* history() const;
    QLabel* link() const { return link_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& key);
    void setLinkHover(bool on);

    QWidget& window_;
    Form1Controls c_;
    KnowledgeBase& knowledge_;
    QLabel* link_;
    QPointer<CrashHistory> history_;
    bool linkPressed_ = false;
};

}  // namespace tervolin::app
