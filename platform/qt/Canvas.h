// A picture box on the screen: paints the display list, scaled from the
// picture box's scale to the widget's pixels, into a backing image that keeps
// the drawing when the window is covered; a repaint draws only the operations
// added since the last one. The fixed lines go over the image.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdint>
#include <map>
#include <tuple>
#include <functional>

#include "platform/forms.h"

namespace platform::qt {

class Canvas : public QWidget {
public:
    Canvas(PictureBox& box, QWidget* parent);
    // Forgets the picture box (its form was unloaded).
    void Detach() { box_ = nullptr; }
    // Mouse events: kind 0 down, 1 up, 2 move; x and y in scale units.
    std::function<void(int kind, int button, int shift, double x, double y)> onMouse;
    std::function<void()> onClick, onDblClick;

    QPointF ToPixels(double x, double y) const;
    QPointF ToScale(QPointF p) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Mouse(int kind, QMouseEvent* event);
    void PaintOps(QPainter& p, const std::vector<DrawOp>& ops, std::size_t from);
    PictureBox* box_;
    QImage image_;
    std::size_t drawn_ = 0;          // operations already in the image
    std::uint64_t clears_ = 0;       // the box's clear count the image belongs to
    std::int32_t back_ = -2;         // the background the image was filled with
    // Small filled discs, drawn once per colour and size and then copied.
    std::map<std::tuple<std::int32_t, std::int32_t, int>, QImage> discs_;
    const QImage& Disc(std::int32_t pen, std::int32_t fill, double radius, qreal dpr);
};

}  // namespace platform::qt
