#pragma once
// A label that works as a link for everyone: reached with Tab, opened with Enter or Space as by a click, underlined
// while it has the focus, and shown to assistive technology as a link whose press action opens it.

#include <QObject>

class QLabel;

namespace tervolin::app {

class KeyboardLink : public QObject
{
    Q_OBJECT
public:
    /// Makes `label` a keyboard link (markAsLink included); the label owns the result.
    static KeyboardLink* attach(QLabel& label);

Q_SIGNALS:
    /// Enter or Space was pressed on the link, or assistive technology pressed it.
    void activated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit KeyboardLink(QLabel& label);
    QLabel& label_;
};

/// Shows `label` to assistive technology as a link named by its text; the press action sends it a Space key, which
/// whatever handles the link's keys takes as a click.
void markAsLink(QLabel& label);

}  // namespace tervolin::app
