#pragma once
// What screen readers see of a ProgressBar: a progress bar with its value, minimum and maximum, named by the
// caption it shows.

#include <QAccessibleWidget>

namespace tervolin::controls {

class ProgressBar;

class AccessibleProgressBar : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleProgressBar(ProgressBar* bar);

    void* interface_cast(QAccessible::InterfaceType t) override;
    /// Name: the accessible name if one is set, else the caption as drawn (none when the bar shows none).
    /// Value: the filled share in whole percent.
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    /// The bar takes no input: its value is not set from outside.
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    ProgressBar* bar() const;
};

/// Makes the bar known to assistive tools: the interface factory (installed once) and the events that tell them
/// of a changed value or caption.
void connectAccessibility(ProgressBar& bar);

}  // namespace tervolin::controls
