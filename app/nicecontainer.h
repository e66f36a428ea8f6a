#pragma once
// NiceContainr: the skin container of the About window. It fills its window, draws the window's frame and
// a caption strip in the main window's look, holds the window's controls, and moves the window while the
// left button is dragged on the caption strip.

#include <QPoint>
#include <QString>
#include <QWidget>

#include <optional>

namespace tervolin::app {

class NiceContainr : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
public:
    /// Height of the caption strip in pixels: the skin's own measure, a pixel lower than the main window's strip.
    static constexpr int CaptionHeight = 26;

    explicit NiceContainr(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);

    /// Where the caption text is drawn, in the container's pixels.
    QRect captionTextRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    // While dragging: the pointer's offset from the window's top-left corner.
    std::optional<QPoint> dragOffset_;
};

}  // namespace tervolin::app
