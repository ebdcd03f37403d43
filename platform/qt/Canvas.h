// A picture box on the screen: paints the display list, scaled from the
// picture box's scale to the widget's pixels.
#pragma once

#include <QWidget>
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
    PictureBox* box_;
};

}  // namespace platform::qt
