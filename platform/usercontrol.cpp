#include "platform/usercontrol.h"

#include <QMetaMethod>
#include <QResizeEvent>

namespace tervolin::platform {

ControlContainer::ControlContainer(QObject* parent) : QObject(parent) {}

void ControlContainer::notify(const QString& name) { Q_EMIT ambientChanged(name); }

void ControlContainer::setUserMode(bool on)
{
    if (userMode_ == on)
        return;
    userMode_ = on;
    notify(QStringLiteral("UserMode"));
}

void ControlContainer::setFont(const FontDescription& font)
{
    if (font_ == font)
        return;
    font_ = font;
    notify(QStringLiteral("Font"));
}

void ControlContainer::setBackColor(ColorRef colour)
{
    if (backColor_ == colour)
        return;
    backColor_ = colour;
    notify(QStringLiteral("BackColor"));
}

UserControl::UserControl(QWidget* parent) : QWidget(parent) {}

UserControl::~UserControl()
{
    if (ambientConnection_)
        disconnect(ambientConnection_);
}

void UserControl::setSite(ControlContainer* container, const QString& displayName)
{
    if (ambientConnection_)
        disconnect(ambientConnection_);
    container_ = container;
    displayName_ = displayName;
    if (container)
        ambientConnection_ = connect(container, &ControlContainer::ambientChanged, this, &UserControl::onContainerAmbientChanged);
}

void UserControl::setDisplayAsDefault(bool on)
{
    if (displayAsDefault_ == on)
        return;
    displayAsDefault_ = on;
    onContainerAmbientChanged(QStringLiteral("DisplayAsDefault"));
}

AmbientProperties UserControl::Ambient() const
{
    AmbientProperties a;
    if (const ControlContainer* c = container_.data()) {
        a.UserMode = c->UserMode();
        a.Font = c->Font();
        a.BackColor = c->BackColor();
    }
    a.DisplayName = displayName_;
    a.DisplayAsDefault = displayAsDefault_;
    return a;
}

void UserControl::onContainerAmbientChanged(const QString& name)
{
    if (initialized_ && !terminated_)
        UserControl_AmbientChanged(name);
}

void UserControl::initialize()
{
    if (initialized_)
        return;
    initialized_ = true;
    UserControl_Initialize();
}

void UserControl::initProperties()
{
    initialize();
    UserControl_InitProperties();
}

void UserControl::readProperties(const PropertyStore& store)
{
    initialize();
    UserControl_ReadProperties(store);
}

void UserControl::writeProperties(PropertyStore& store)
{
    UserControl_WriteProperties(store);
    propertiesChanged_ = false;
}

void UserControl::terminate()
{
    if (!initialized_ || terminated_)
        return;
    terminated_ = true;
    UserControl_Terminate();
}

void UserControl::setExtentTwips(int widthTwips, int heightTwips)
{
    const QSize before = size();
    resize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
    // A hidden widget gets its resize event only when shown; the control must follow its extent now.
    if (!isVisible() && size() != before && initialized_ && !terminated_)
        UserControl_Resize();
}

void UserControl::PropertyChanged(const QString& name)
{
    propertiesChanged_ = true;
    Q_EMIT propertyChanged(name);
}

int UserControl::eventNumber(const char* name) const
{
    const QMetaObject* mo = metaObject();
    int number = 0;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.methodType() != QMetaMethod::Signal)
            continue;
        ++number;
        if (m.name() == name)
            return number;
    }
    return 0;
}

void UserControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (initialized_ && !terminated_)
        UserControl_Resize();
}

}  // namespace tervolin::platform
