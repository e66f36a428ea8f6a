#pragma once
// A window's saved form description: for each control placed on it, its name, its type and its stored
// design-time properties. Serialised as JSON (usually embedded as a Qt resource), keys in lower case:
//
//   { "form": "Form1",
//     "controls": [ { "name": "Command1", "type": "vantlebutton",
//                     "extent": [left, top, width, height],          (twips; optional)
//                     "properties": { "buttonstyle": 4, "backcolor": 14935011, "caption": "..." } } ] }
//
// Property values: integers (32-bit, signed or unsigned), texts, booleans (stored as -1/0), objects
// (fonts, pictures) and null (an object reference that is not set).

#include "platform/propertystore.h"

#include <QRect>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace tervolin::platform {

/// Why a description could not be used: the file, the key path inside it (e.g.
/// "controls[1].properties.backcolor") and what was wrong there.
struct FormDescriptionError
{
    QString file;
    QString key;
    QString message;

    QString toString() const;
};

struct ControlDescription
{
    QString name;
    QString type;
    std::optional<QRect> extent;  // twips
    PropertyStore properties;
};

class FormDescription
{
public:
    QString form;
    std::vector<ControlDescription> controls;

    /// The control of that name (case-blind), or nullptr.
    const ControlDescription* control(QStringView name) const;
    ControlDescription* control(QStringView name);

    /// Parses a description; `file` names the source in error reports.
    static std::variant<FormDescription, FormDescriptionError> parse(const QByteArray& json, const QString& file);
    /// Reads and parses a file or a resource path (":/forms/form1.json").
    static std::variant<FormDescription, FormDescriptionError> load(const QString& path);

    /// The JSON text; property keys are written in lower case.
    QByteArray toJson() const;
    /// Writes the JSON text to a file; the error names the file when it cannot be written.
    std::optional<FormDescriptionError> save(const QString& path) const;
};

}  // namespace tervolin::platform
