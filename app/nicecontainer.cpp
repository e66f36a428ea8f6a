#include "app/nicecontainer.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/colour.h"

namespace tervolin::app {
namespace {

QColor colour(int r, int g, int b) { return platform::toQColor(platform::rgb(r, g, b)); }

// The main window's background, caption strip and outline, and its title's grey.
QColor background() { return colour(239, 244, 252); }
QColor captionStrip() { return colour(173, 193, 220); }
QColor outline() { return colour(173, 193, 220); }
QColor titleText() { return colour(64, 64, 64); }

}  // namespace

NiceContainr::NiceContainr(QWidget* parent) : QWidget(parent) {}

void NiceContainr::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

QRect NiceContainr::captionTextRect() const { return {8, 0, width() - 16, CaptionHeight}; }

void NiceContainr::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), background());
    painter.fillRect(QRect(0, 0, width(), CaptionHeight), captionStrip());
    painter.setPen(outline());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));  // one pixel inside the container's edge
    // The title font is the painter's own, so the controls inside keep the window's font.
    QFont titleFont(QStringLiteral("楷体_GB2312"), 12);
    titleFont.setWeight(QFont::Bold);
    painter.setFont(titleFont);
    painter.setPen(titleText());
    painter.drawText(captionTextRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

void NiceContainr::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->position().y() < CaptionHeight) {
        dragOffset_ = event->globalPosition().toPoint() - window()->pos();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void NiceContainr::mouseMoveEvent(QMouseEvent* event)
{
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        window()->move(event->globalPosition().toPoint() - *dragOffset_);
        event->accept();
        return;
    }
    dragOffset_.reset();
    QWidget::mouseMoveEvent(event);
}

void NiceContainr::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

}  // namespace tervolin::app
