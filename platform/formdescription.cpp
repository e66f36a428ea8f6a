#include "platform/formdescription.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QSaveFile>

#include <cmath>

namespace tervolin::platform {

QString FormDescriptionError::toString() const
{
    if (key.isEmpty())
        return QStringLiteral("%1: %2").arg(file, message);
    return QStringLiteral("%1: key \"%2\": %3").arg(file, key, message);
}

const ControlDescription* FormDescription::control(QStringView name) const
{
    for (const ControlDescription& c : controls)
        if (QStringView(c.name).compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

ControlDescription* FormDescription::control(QStringView name)
{
    return const_cast<ControlDescription*>(std::as_const(*this).control(name));
}

namespace {

struct Parser
{
    QString file;
    std::optional<FormDescriptionError> error;

    bool fail(const QString& key, const QString& message)
    {
        if (!error)
            error = FormDescriptionError{file, key, message};
        return false;
    }

    // A JSON number is accepted when it is integral and fits 32 bits, signed or unsigned.
    bool propertyValue(const QJsonValue& v, const QString& key, QVariant& out)
    {
        switch (v.type()) {
        case QJsonValue::Null:
            out = QVariant();
            return true;
        case QJsonValue::Bool:
            out = PropertyStore::normalise(v.toBool());
            return true;
        case QJsonValue::Double: {
            const double d = v.toDouble();
            if (d != std::trunc(d) || d < -2147483648.0 || d > 4294967295.0)
                return fail(key, QStringLiteral("expected a 32-bit integer, found %1").arg(d, 0, 'g', 17));
            out = PropertyStore::normalise(static_cast<qlonglong>(d));
            return true;
        }
        case QJsonValue::String:
            out = v.toString();
            return true;
        case QJsonValue::Object:
            out = v.toObject().toVariantMap();
            return true;
        default:
            return fail(key, QStringLiteral("expected a number, a text, a boolean, an object or null"));
        }
    }

    bool control(const QJsonValue& v, const QString& at, ControlDescription& out)
    {
        if (!v.isObject())
            return fail(at, QStringLiteral("expected an object describing a control"));
        const QJsonObject o = v.toObject();
        const QJsonValue name = o.value(QLatin1String("name"));
        if (!name.isString() || name.toString().isEmpty())
            return fail(at + QLatin1String(".name"), QStringLiteral("expected the control's name as a non-empty text"));
        out.name = name.toString();
        const QJsonValue type = o.value(QLatin1String("type"));
        if (!type.isString() || type.toString().isEmpty())
            return fail(at + QLatin1String(".type"), QStringLiteral("expected the control's type as a non-empty text"));
        out.type = type.toString();
        if (const QJsonValue extent = o.value(QLatin1String("extent")); !extent.isUndefined()) {
            const QJsonArray a = extent.toArray();
            int n[4] = {};
            bool ok = extent.isArray() && a.size() == 4;
            for (qsizetype i = 0; ok && i < 4; ++i) {
                const double d = a.at(i).toDouble(std::nan(""));
                ok = a.at(i).isDouble() && d == std::trunc(d) && std::fabs(d) <= 1e9;
                if (ok)
                    n[i] = static_cast<int>(d);
            }
            if (!ok)
                return fail(at + QLatin1String(".extent"),
                            QStringLiteral("expected [left, top, width, height] as four integers (twips)"));
            out.extent = QRect(n[0], n[1], n[2], n[3]);
        }
        const QJsonValue props = o.value(QLatin1String("properties"));
        if (props.isUndefined())
            return true;
        if (!props.isObject())
            return fail(at + QLatin1String(".properties"), QStringLiteral("expected an object of stored properties"));
        const QJsonObject po = props.toObject();
        for (auto it = po.begin(); it != po.end(); ++it) {
            const QString key = at + QLatin1String(".properties.") + it.key();
            if (out.properties.contains(it.key()))
                return fail(key, QStringLiteral("the property is stored twice (keys are matched without regard to case)"));
            QVariant value;
            if (!propertyValue(it.value(), key, value))
                return false;
            out.properties.set(it.key(), value);
        }
        return true;
    }
};

}  // namespace

std::variant<FormDescription, FormDescriptionError> FormDescription::parse(const QByteArray& json, const QString& file)
{
    QJsonParseError perr{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &perr);
    if (perr.error != QJsonParseError::NoError)
        return FormDescriptionError{file, QString(),
                                    QStringLiteral("not valid JSON at offset %1: %2").arg(perr.offset).arg(perr.errorString())};
    if (!doc.isObject())
        return FormDescriptionError{file, QString(), QStringLiteral("expected a JSON object at the top level")};

    Parser p{file, std::nullopt};
    FormDescription out;
    const QJsonObject root = doc.object();
    if (const QJsonValue form = root.value(QLatin1String("form")); !form.isUndefined()) {
        if (!form.isString())
            return FormDescriptionError{file, QStringLiteral("form"), QStringLiteral("expected the form's name as a text")};
        out.form = form.toString();
    }
    const QJsonValue controls = root.value(QLatin1String("controls"));
    if (controls.isUndefined())
        return out;
    if (!controls.isArray())
        return FormDescriptionError{file, QStringLiteral("controls"), QStringLiteral("expected an array of controls")};
    const QJsonArray arr = controls.toArray();
    for (qsizetype i = 0; i < arr.size(); ++i) {
        const QString at = QStringLiteral("controls[%1]").arg(i);
        ControlDescription c;
        if (!p.control(arr.at(i), at, c))
            return *p.error;
        if (out.control(c.name))
            return FormDescriptionError{file, at + QLatin1String(".name"),
                                        QStringLiteral("a control named \"%1\" is described twice").arg(c.name)};
        out.controls.push_back(std::move(c));
    }
    return out;
}

std::variant<FormDescription, FormDescriptionError> FormDescription::load(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FormDescriptionError{path, QString(), QStringLiteral("cannot be read: %1").arg(f.errorString())};
    return parse(f.readAll(), path);
}

QByteArray FormDescription::toJson() const
{
    QJsonArray arr;
    for (const ControlDescription& c : controls) {
        QJsonObject o;
        o.insert(QLatin1String("name"), c.name);
        o.insert(QLatin1String("type"), c.type);
        if (c.extent)
            o.insert(QLatin1String("extent"),
                     QJsonArray{c.extent->left(), c.extent->top(), c.extent->width(), c.extent->height()});
        QJsonObject props;
        for (const auto& [key, value] : c.properties.entries()) {
            QJsonValue v;
            if (!value.isValid())
                v = QJsonValue(QJsonValue::Null);
            else if (value.typeId() == QMetaType::Int)
                v = value.toInt();
            else if (value.typeId() == QMetaType::QString)
                v = value.toString();
            else
                v = QJsonObject::fromVariantMap(value.toMap());
            props.insert(key.toLower(), v);
        }
        o.insert(QLatin1String("properties"), props);
        arr.append(o);
    }
    QJsonObject root;
    if (!form.isEmpty())
        root.insert(QLatin1String("form"), form);
    root.insert(QLatin1String("controls"), arr);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<FormDescriptionError> FormDescription::save(const QString& path) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return FormDescriptionError{path, QString(), QStringLiteral("cannot be written: %1").arg(f.errorString())};
    f.write(toJson());
    if (!f.commit())
        return FormDescriptionError{path, QString(), QStringLiteral("cannot be written: %1").arg(f.errorString())};
    return std::nullopt;
}

}  // namespace tervolin::platform
