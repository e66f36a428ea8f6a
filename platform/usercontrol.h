#pragma once
// Hosting of user controls: the container's ambient properties, the lifecycle a control's handlers are
// called in, the property-changed notification, and the control's outer size in twips.

#include "platform/colour.h"
#include "platform/font.h"
#include "platform/propertystore.h"
#include "platform/twips.h"
#include "platform/windowhandle.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <stdexcept>

namespace tervolin::platform {

/// The ambient properties a container (a form) offers every control placed on it. Changing one tells
/// each hosted control through UserControl_AmbientChanged with the property's name.
class ControlContainer : public QObject
{
    Q_OBJECT
public:
    explicit ControlContainer(QObject* parent = nullptr);

    /// True when the controls run inside a running program, false in a form designer.
    bool UserMode() const { return userMode_; }
    void setUserMode(bool on);
    FontDescription Font() const { return font_; }
    void setFont(const FontDescription& font);
    ColorRef BackColor() const { return backColor_; }
    void setBackColor(ColorRef colour);

Q_SIGNALS:
    void ambientChanged(const QString& name);

private:
    void notify(const QString& name);

    bool userMode_ = true;
    FontDescription font_;
    ColorRef backColor_ = systemColour(15);
};

/// A run-time error that a control's setter or handler reports to its caller (numbered as the platform's
/// run-time errors: 6 is an overflow).
class RuntimeError : public std::runtime_error
{
public:
    RuntimeError(int number, const char* what) : std::runtime_error(what), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

/// The ambient properties as one control sees them.
struct AmbientProperties
{
    bool UserMode = true;
    QString DisplayName;
    FontDescription Font;
    ColorRef BackColor = systemColour(15);
    bool DisplayAsDefault = false;
};

/// Base of the program's own controls. The host (the code that places the control) calls the lifecycle
/// in this order: initialize(); then initProperties() for a newly placed control or readProperties()
/// for a saved one; writeProperties() whenever the container is saved; terminate() once before the
/// control goes away (derived classes call terminate() from their destructor, so deleting a control
/// or its parent window also terminates it). Resize and paint come from Qt's events.
class UserControl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int TwipsPerPixel = platform::TwipsPerPixel;

    explicit UserControl(QWidget* parent = nullptr);
    ~UserControl() override;

    /// Places the control in a container under a name (its ambient DisplayName).
    void setSite(ControlContainer* container, const QString& displayName);
    ControlContainer* container() const { return container_.data(); }
    /// The container shows this control as its default button; a change is reported as "DisplayAsDefault".
    void setDisplayAsDefault(bool on);
    AmbientProperties Ambient() const;

    void initialize();
    void initProperties();
    void readProperties(const PropertyStore& store);
    void writeProperties(PropertyStore& store);
    void terminate();
    bool isTerminated() const { return terminated_; }

    /// The outer size in twips, and setting it (rounded to whole pixels).
    int extentWidthTwips() const { return width() * TwipsPerPixel; }
    int extentHeightTwips() const { return height() * TwipsPerPixel; }
    void setExtentTwips(int widthTwips, int heightTwips);

    /// Tells the container that the named property changed, so its form description needs saving.
    void PropertyChanged(const QString& name);
    bool propertiesChanged() const { return propertiesChanged_; }

    WindowHandle hWndOf() const { return handleOf(this); }

    /// 1-based number of an event (a signal declared by the most derived control class) by declaration
    /// order; 0 when there is no such event.
    int eventNumber(const char* name) const;

Q_SIGNALS:
    void propertyChanged(const QString& name);

protected:
    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyStore& store) { (void)store; }
    virtual void UserControl_WriteProperties(PropertyStore& store) { (void)store; }
    virtual void UserControl_Resize() {}
    virtual void UserControl_Paint() {}
    virtual void UserControl_AmbientChanged(const QString& name) { (void)name; }
    virtual void UserControl_Terminate() {}

    void resizeEvent(QResizeEvent* event) override;

private:
    void onContainerAmbientChanged(const QString& name);

    QPointer<ControlContainer> container_;
    QMetaObject::Connection ambientConnection_;
    QString displayName_;
    bool displayAsDefault_ = false;
    bool initialized_ = false;
    bool terminated_ = false;
    bool propertiesChanged_ = false;
};

}  // namespace tervolin::platform
