#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

#include "platform/usercontrol.h"
#include "tests/support/qtprinters.h"

using namespace tervolin::platform;

namespace {

class RecordingControl : public UserControl
{
    Q_OBJECT
public:
    QStringList calls;
    QStringList* terminations = nullptr;  // outlives the control
    ~RecordingControl() override { terminate(); }

Q_SIGNALS:
    void First();
    void Second(short& button);
    void Third();

protected:
    void UserControl_Initialize() override { calls << QStringLiteral("Initialize"); }
    void UserControl_InitProperties() override { calls << QStringLiteral("InitProperties"); }
    void UserControl_ReadProperties(const PropertyStore& s) override
    {
        calls << QStringLiteral("ReadProperties:") + s.readString(u"caption", QString());
    }
    void UserControl_WriteProperties(PropertyStore& s) override
    {
        calls << QStringLiteral("WriteProperties");
        s.WriteProperty(QStringLiteral("Caption"), QStringLiteral("x"), QString());
    }
    void UserControl_Resize() override { calls << QStringLiteral("Resize"); }
    void UserControl_AmbientChanged(const QString& name) override { calls << QStringLiteral("Ambient:") + name; }
    void UserControl_Terminate() override
    {
        calls << QStringLiteral("Terminate");
        if (terminations)
            *terminations << QStringLiteral("Terminate");
    }
};

TEST(UserControl, LifecycleRunsEachHandlerOnceInOrder)
{
    ControlContainer form;
    auto c = std::make_unique<RecordingControl>();
    c->setSite(&form, QStringLiteral("vantlebutton1"));
    form.setUserMode(false);  // before initialize: not delivered
    PropertyStore store;
    store.set(QStringLiteral("Caption"), QStringLiteral("OK"));
    c->readProperties(store);
    c->initialize();  // a second call does nothing
    c->setExtentTwips(600, 300);
    PropertyStore out;
    c->writeProperties(out);
    c->terminate();
    c->terminate();
    form.setUserMode(true);  // after terminate: not delivered
    EXPECT_EQ(c->calls, (QStringList{QStringLiteral("Initialize"), QStringLiteral("ReadProperties:OK"), QStringLiteral("Resize"),
                                     QStringLiteral("WriteProperties"), QStringLiteral("Terminate")}));
    EXPECT_EQ(out.readString(u"caption", QString()), QStringLiteral("x"));
}

TEST(UserControl, DeletingTheParentTerminatesTheControl)
{
    QStringList terminations;
    {
        QWidget parent;
        auto* c = new RecordingControl;
        c->setParent(&parent);
        c->terminations = &terminations;
        c->initProperties();
    }
    EXPECT_EQ(terminations, QStringList{QStringLiteral("Terminate")});
}

TEST(UserControl, AmbientChangesReachEveryHostedControlByName)
{
    ControlContainer form;
    RecordingControl a, b;
    a.setSite(&form, QStringLiteral("a"));
    b.setSite(&form, QStringLiteral("b"));
    a.initProperties();
    b.initProperties();
    a.calls.clear();
    b.calls.clear();

    form.setBackColor(0x123456);
    form.setBackColor(0x123456);  // unchanged: no notice
    FontDescription f;
    f.name = QStringLiteral("Tahoma");
    form.setFont(f);
    form.setUserMode(false);
    a.setDisplayAsDefault(true);  // per control

    EXPECT_EQ(a.calls, (QStringList{QStringLiteral("Ambient:BackColor"), QStringLiteral("Ambient:Font"),
                                    QStringLiteral("Ambient:UserMode"), QStringLiteral("Ambient:DisplayAsDefault")}));
    EXPECT_EQ(b.calls, (QStringList{QStringLiteral("Ambient:BackColor"), QStringLiteral("Ambient:Font"),
                                    QStringLiteral("Ambient:UserMode")}));
    const AmbientProperties amb = a.Ambient();
    EXPECT_FALSE(amb.UserMode);
    EXPECT_EQ(amb.DisplayName, QStringLiteral("a"));
    EXPECT_EQ(amb.BackColor, 0x123456);
    EXPECT_EQ(amb.Font.name, QStringLiteral("Tahoma"));
    EXPECT_TRUE(amb.DisplayAsDefault);
    EXPECT_FALSE(b.Ambient().DisplayAsDefault);
}

TEST(UserControl, PropertyChangedMarksTheFormAndSignals)
{
    RecordingControl c;
    QStringList names;
    QObject::connect(&c, &UserControl::propertyChanged, [&names](const QString& n) { names << n; });
    EXPECT_FALSE(c.propertiesChanged());
    c.PropertyChanged(QStringLiteral("Caption"));
    EXPECT_TRUE(c.propertiesChanged());
    EXPECT_EQ(names, QStringList{QStringLiteral("Caption")});
    PropertyStore out;
    c.writeProperties(out);
    EXPECT_FALSE(c.propertiesChanged());
}

TEST(UserControl, EventsAreNumberedByDeclarationFromOne)
{
    RecordingControl c;
    EXPECT_EQ(c.eventNumber("First"), 1);
    EXPECT_EQ(c.eventNumber("Second"), 2);
    EXPECT_EQ(c.eventNumber("Third"), 3);
    EXPECT_EQ(c.eventNumber("propertyChanged"), 0);  // the host's own signal is not an event of the control
}

TEST(UserControl, ExtentInTwipsRoundsToWholePixels)
{
    struct Case { int twips; int pixels; };
    const Case cases[] = {{220, 15}, {225, 15}, {210, 14}, {1455, 97}, {0, 0}};
    RecordingControl c;
    for (const Case& k : cases) {
        c.setExtentTwips(k.twips, k.twips);
        EXPECT_EQ(c.width(), k.pixels) << k.twips;
        EXPECT_EQ(c.extentHeightTwips(), k.pixels * 15) << k.twips;
    }
}

TEST(WindowHandle, StableWhileAliveAndForgottenAfter)
{
    auto w = std::make_unique<QWidget>();
    const WindowHandle h = handleOf(w.get());
    EXPECT_NE(h, 0);
    EXPECT_EQ(handleOf(w.get()), h);
    EXPECT_EQ(widgetOf(h), w.get());
    QWidget other;
    EXPECT_NE(handleOf(&other), h);
    w.reset();
    EXPECT_EQ(widgetOf(h), nullptr);
    EXPECT_EQ(handleOf(nullptr), 0);
    EXPECT_EQ(widgetOf(0), nullptr);
}

}  // namespace

#include "usercontrol_test.moc"
