#include <gtest/gtest.h>

#include <QFile>
#include <QVariantMap>

#include "platform/formdescription.h"
#include "platform/propertystore.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform;

namespace {

struct WriteCase
{
    const char* name;
    QVariant value;
    QVariant defaultValue;
    bool stored;
};

class PropertyStoreWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(PropertyStoreWrite, ElidesValuesEqualToTheirDefault)
{
    const WriteCase& c = GetParam();
    PropertyStore store;
    store.WriteProperty(QStringLiteral("Key"), c.value, c.defaultValue);
    EXPECT_EQ(store.contains(u"key"), c.stored);
    // Whatever was stored, reading with the same default gives the value back.
    EXPECT_TRUE(PropertyStore::sameValue(store.ReadProperty(u"KEY", c.defaultValue), c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Values, PropertyStoreWrite,
    ::testing::Values(
        WriteCase{"int_equal", 1, 1, false},
        WriteCase{"int_differs", 0, 1, true},
        WriteCase{"bool_true_vs_minus_one", true, -1, false},
        WriteCase{"bool_false_vs_zero", false, 0, false},
        WriteCase{"bool_true_vs_false", true, false, true},
        WriteCase{"unsigned_system_colour_vs_signed", 0x8000000Fu, static_cast<int>(0x8000000Fu), false},
        WriteCase{"colour_differs", 0xE3E3E3, 0xF0F0F0, true},
        WriteCase{"text_equal", QStringLiteral("vantlebutton1"), QStringLiteral("vantlebutton1"), false},
        WriteCase{"text_case_matters", QStringLiteral("Vantlebutton1"), QStringLiteral("vantlebutton1"), true},
        WriteCase{"nothing_vs_nothing", QVariant(), QVariant(), false},
        WriteCase{"object_vs_nothing", QVariantMap{{QStringLiteral("name"), QStringLiteral("Tahoma")}}, QVariant(), true},
        WriteCase{"object_equal", QVariantMap{{QStringLiteral("size"), 9}}, QVariantMap{{QStringLiteral("size"), 9}}, false},
        WriteCase{"zero_vs_empty_text", 0, QString(), true}),
    [](const ::testing::TestParamInfo<WriteCase>& row) { return std::string(row.param.name); });

TEST(PropertyStore, KeysMatchWithoutRegardToCaseAndKeepTheirPlace)
{
    PropertyStore store;
    store.WriteProperty(QStringLiteral("ButtonStyle"), 14, 1);
    store.WriteProperty(QStringLiteral("pictureSize"), 2, 0);
    store.WriteProperty(QStringLiteral("UseMaskCOlor"), true, false);
    EXPECT_EQ(store.readInt(u"buttonstyle", 1), 14);
    EXPECT_EQ(store.readInt(u"PictureSize", 0), 2);
    EXPECT_TRUE(store.readBool(u"UseMaskColor", false));
    EXPECT_EQ(store.readInt(u"Missing", 7), 7);

    // Rewriting under another spelling replaces in place; writing the default removes the key.
    store.WriteProperty(QStringLiteral("BUTTONSTYLE"), 4, 1);
    EXPECT_EQ(store.keys(), (QStringList{QStringLiteral("BUTTONSTYLE"), QStringLiteral("pictureSize"), QStringLiteral("UseMaskCOlor")}));
    store.WriteProperty(QStringLiteral("picturesize"), 0, 0);
    EXPECT_EQ(store.keys(), (QStringList{QStringLiteral("BUTTONSTYLE"), QStringLiteral("UseMaskCOlor")}));
}

TEST(PropertyStore, TypedReadsFallBackToTheDefaultOnAnotherForm)
{
    PropertyStore store;
    store.set(QStringLiteral("Caption"), 5);
    store.set(QStringLiteral("Enabled"), QStringLiteral("yes"));
    EXPECT_EQ(store.readString(u"caption", QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_TRUE(store.readBool(u"enabled", true));
    EXPECT_EQ(store.readInt(u"enabled", 3), 3);
}

TEST(FormDescription, RoundTripsPropertiesWithLowerCaseKeys)
{
    FormDescription form;
    form.form = QStringLiteral("Form1");
    ControlDescription c;
    c.name = QStringLiteral("Command1");
    c.type = QStringLiteral("vantlebutton");
    c.extent = QRect(120, 240, 1455, 375);
    c.properties.WriteProperty(QStringLiteral("ButtonStyle"), 4, 1);
    c.properties.WriteProperty(QStringLiteral("BackColor"), 0x80000012u, 0);
    c.properties.WriteProperty(QStringLiteral("Caption"), QStringLiteral("查询"), QStringLiteral("vantlebutton1"));
    c.properties.WriteProperty(QStringLiteral("Font"), QVariantMap{{QStringLiteral("name"), QStringLiteral("宋体")}}, QVariant());
    c.properties.WriteProperty(QStringLiteral("Enabled"), false, true);
    c.properties.set(QStringLiteral("Picture"), QVariant());
    form.controls.push_back(c);

    const QByteArray json = form.toJson();
    EXPECT_TRUE(json.contains("\"buttonstyle\"")) << json.constData();
    EXPECT_FALSE(json.contains("\"ButtonStyle\""));

    auto parsed = FormDescription::parse(json, QStringLiteral("form1.json"));
    ASSERT_TRUE(std::holds_alternative<FormDescription>(parsed)) << std::get<FormDescriptionError>(parsed).toString().toStdString();
    const FormDescription& back = std::get<FormDescription>(parsed);
    EXPECT_EQ(back.form, QStringLiteral("Form1"));
    const ControlDescription* b = back.control(u"command1");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->extent, c.extent);
    EXPECT_EQ(b->properties.readInt(u"ButtonStyle", 1), 4);
    EXPECT_EQ(b->properties.readInt(u"BackColor", 0), static_cast<std::int32_t>(0x80000012u));
    EXPECT_EQ(b->properties.readString(u"Caption", {}), QStringLiteral("查询"));
    EXPECT_FALSE(b->properties.readBool(u"Enabled", true));
    EXPECT_EQ(b->properties.ReadProperty(u"Font").toMap().value(QStringLiteral("name")).toString(), QStringLiteral("宋体"));
    EXPECT_TRUE(b->properties.contains(u"picture"));
    EXPECT_FALSE(b->properties.ReadProperty(u"Picture", 5).isValid());
}

struct BadCase
{
    const char* name;
    const char* json;
    const char* key;  // expected key path, empty when the error is about the whole file
};

class FormDescriptionBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(FormDescriptionBad, NamesTheFileAndTheKey)
{
    const BadCase& c = GetParam();
    auto parsed = FormDescription::parse(QByteArray(c.json), QStringLiteral(":/forms/form1.json"));
    ASSERT_TRUE(std::holds_alternative<FormDescriptionError>(parsed));
    const FormDescriptionError& e = std::get<FormDescriptionError>(parsed);
    EXPECT_EQ(e.file, QStringLiteral(":/forms/form1.json"));
    EXPECT_EQ(e.key, QString::fromUtf8(c.key));
    EXPECT_FALSE(e.message.isEmpty());
    EXPECT_TRUE(e.toString().contains(QStringLiteral(":/forms/form1.json")));
    if (*c.key) {
        EXPECT_TRUE(e.toString().contains(QString::fromUtf8(c.key)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, FormDescriptionBad,
    ::testing::Values(
        BadCase{"not_json", "{\"controls\": [", ""},
        BadCase{"top_level_array", "[]", ""},
        BadCase{"form_not_text", R"({"form": 3})", "form"},
        BadCase{"controls_not_array", R"({"controls": {}})", "controls"},
        BadCase{"control_not_object", R"({"controls": [3]})", "controls[0]"},
        BadCase{"missing_name", R"({"controls": [{"type": "vantlebutton"}]})", "controls[0].name"},
        BadCase{"missing_type", R"({"controls": [{"name": "a"}]})", "controls[0].type"},
        BadCase{"bad_extent", R"({"controls": [{"name": "a", "type": "t", "extent": [1, 2, 3]}]})", "controls[0].extent"},
        BadCase{"properties_not_object", R"({"controls": [{"name": "a", "type": "t", "properties": []}]})", "controls[0].properties"},
        BadCase{"fraction", R"({"controls": [{"name": "a", "type": "t", "properties": {"backcolor": 1.5}}]})",
                "controls[0].properties.backcolor"},
        BadCase{"too_big", R"({"controls": [{"name": "a", "type": "t", "properties": {"backcolor": 4294967296}}]})",
                "controls[0].properties.backcolor"},
        BadCase{"array_value", R"({"controls": [{"name": "a", "type": "t", "properties": {"caption": [1]}}]})",
                "controls[0].properties.caption"},
        BadCase{"key_twice", R"({"controls": [{"name": "a", "type": "t", "properties": {"Caption": "x", "caption": "y"}}]})",
                "controls[0].properties.caption"},
        BadCase{"control_twice", R"({"controls": [{"name": "a", "type": "t"}, {"name": "A", "type": "t"}]})",
                "controls[1].name"}),
    [](const ::testing::TestParamInfo<BadCase>& row) { return std::string(row.param.name); });

TEST(FormDescription, MissingFileIsAnErrorNamingIt)
{
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/absent.json");
    auto loaded = FormDescription::load(path);
    ASSERT_TRUE(std::holds_alternative<FormDescriptionError>(loaded));
    EXPECT_EQ(std::get<FormDescriptionError>(loaded).file, path);
}

TEST(FormDescription, SaveThenLoad)
{
    FormDescription form;
    ControlDescription c;
    c.name = QStringLiteral("vantlebutton1");
    c.type = QStringLiteral("vantlebutton");
    c.properties.WriteProperty(QStringLiteral("ButtonStyle"), 4, 1);
    form.controls.push_back(c);
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/guanyu.json");
    ASSERT_FALSE(form.save(path).has_value());
    auto loaded = FormDescription::load(path);
    ASSERT_TRUE(std::holds_alternative<FormDescription>(loaded));
    EXPECT_EQ(std::get<FormDescription>(loaded).control(u"VANTLEBUTTON1")->properties.readInt(u"buttonstyle", 1), 4);
}

}  // namespace
