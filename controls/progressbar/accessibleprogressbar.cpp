#include "controls/progressbar/accessibleprogressbar.h"

#include "controls/accessiblefactory.h"
#include "controls/progressbar/caption.h"
#include "controls/progressbar/progressbar.h"

#include <cmath>

namespace tervolin::controls {

namespace {

bool drawsCaption(progressbar::TextEffectValue effect)
{
    return effect >= progressbar::TextEffectValue::Plain && effect <= progressbar::TextEffectValue::DropShadow;
}

}  // namespace

AccessibleProgressBar::AccessibleProgressBar(ProgressBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

ProgressBar* AccessibleProgressBar::bar() const { return static_cast<ProgressBar*>(widget()); }

void* AccessibleProgressBar::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString AccessibleProgressBar::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        if (const QString name = widget()->accessibleName(); !name.isEmpty())
            return name;
        const std::optional<QString> caption = bar()->lastRedraw().caption;
        return caption && drawsCaption(bar()->TextEffect()) ? *caption : QString();
    }
    case QAccessible::Value:
        return QString::number(std::lround(bar()->lastRedraw().percent)) + QLatin1Char('%');
    default:
        return QAccessibleWidget::text(t);
    }
}

QVariant AccessibleProgressBar::currentValue() const { return bar()->Value(); }

void AccessibleProgressBar::setCurrentValue(const QVariant& value) { (void)value; }

QVariant AccessibleProgressBar::maximumValue() const { return bar()->Max(); }

QVariant AccessibleProgressBar::minimumValue() const { return bar()->Min(); }

QVariant AccessibleProgressBar::minimumStepSize() const { return 0; }

void connectAccessibility(ProgressBar& bar)
{
    installAccessibleFactory<ProgressBar, AccessibleProgressBar>();

    ProgressBar* b = &bar;
    QObject::connect(b, &ProgressBar::ValueChanged, b, [b](int value) {
        QAccessibleValueChangeEvent event(b, value);
        QAccessible::updateAccessibility(&event);
    });
    // The caption can show the value, the percentage (which Max changes too) or the text.
    const auto nameChanged = [b] {
        QAccessibleEvent event(b, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    };
    QObject::connect(b, &ProgressBar::ValueChanged, b, nameChanged);
    QObject::connect(b, &ProgressBar::MaxChanged, b, nameChanged);
    QObject::connect(b, &ProgressBar::TextChanged, b, nameChanged);
    QObject::connect(b, &ProgressBar::TextStyleChanged, b, nameChanged);
    QObject::connect(b, &ProgressBar::TextEffectChanged, b, nameChanged);
}

}  // namespace tervolin::controls
