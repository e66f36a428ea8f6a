#pragma once
// What screen readers see of a vantlebutton: a push button (a check box in check-box mode, with its checked
// state) named by its caption, with its access key as shortcut and a press action that clicks it.

#include <QAccessibleWidget>

namespace tervolin::controls {

class vantlebutton;

class AccessibleButton : public QAccessibleWidget
{
public:
    explicit AccessibleButton(vantlebutton* button);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    /// Name: the accessible name if one is set, else the caption as drawn (without its "&" markers).
    /// Accelerator: the access key as a key sequence, e.g. "Alt+S".
    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    vantlebutton* button() const;
};

/// Makes the button known to assistive tools: the interface factory (installed once) and the events that tell
/// them of a changed name or checked state.
void connectAccessibility(vantlebutton& button);

}  // namespace tervolin::controls
