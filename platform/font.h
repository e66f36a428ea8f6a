#pragma once
// Font objects as the controls' font properties hold them: a shared, changeable font (name, size, weight,
// style, character set) that tells its holders when one of its attributes changes. Windows font names map to
// families installed here (宋体/SimSun → AR PL UMing CN, 楷体_GB2312/KaiTi → AR PL UKai CN, Tahoma → DejaVu Sans).

#include <QFont>
#include <QObject>
#include <QString>

namespace tervolin::platform {

/// The attributes of a font as a plain value.
struct FontDescription
{
    QString name = QStringLiteral("宋体");
    double size = 9.0;  ///< points
    int weight = 400;   ///< 100 to 900; 700 is bold
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 134;  ///< 134: Simplified Chinese (GB2312); 0: ANSI; 1: default

    bool bold() const { return weight >= 600; }
    /// The Qt font for drawing: the installed family for the name, the size in points, weight and style.
    QFont toQFont() const;
    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

/// The installed family that stands in for a Windows font name (the name itself when it needs no mapping).
QString installedFamily(const QString& windowsName);
/// Registers the mapping with Qt (QFont::insertSubstitution), so widgets given a Windows name find the family.
void installFontSubstitutions();

class Font : public QObject
{
    Q_OBJECT
public:
    explicit Font(FontDescription description = {}, QObject* parent = nullptr);

    const FontDescription& description() const { return d_; }
    QFont toQFont() const { return d_.toQFont(); }

    QString name() const { return d_.name; }
    double size() const { return d_.size; }
    bool bold() const { return d_.bold(); }
    int weight() const { return d_.weight; }
    bool italic() const { return d_.italic; }
    bool underline() const { return d_.underline; }
    bool strikethrough() const { return d_.strikethrough; }
    int charset() const { return d_.charset; }

    /// Each setter stores the value and, when it changed, emits FontChanged with the attribute's name
    /// ("Name", "Size", "Bold", "Weight", "Italic", "Underline", "Strikethrough", "Charset").
    void setName(const QString& name);
    void setSize(double points);
    void setBold(bool bold);  ///< weight 700 or 400
    void setWeight(int weight);
    void setItalic(bool on);
    void setUnderline(bool on);
    void setStrikethrough(bool on);
    void setCharset(int charset);
    /// Replaces all attributes; one FontChanged("") when anything changed.
    void setDescription(const FontDescription& description);

Q_SIGNALS:
    void FontChanged(const QString& propertyName);

private:
    FontDescription d_;
};

}  // namespace tervolin::platform
