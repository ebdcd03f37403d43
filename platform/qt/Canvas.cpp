#include "platform/qt/Canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "platform/qt/Convert.h"

namespace platform::qt {

namespace {
int ButtonCode(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) |
           (b & Qt::MiddleButton ? 4 : 0);
}
int ShiftCode(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}
}  // namespace

Canvas::Canvas(PictureBox& box, QWidget* parent) : QWidget(parent), box_(&box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF Canvas::ToPixels(double x, double y) const {
    double sw = box_ && box_->ScaleWidth != 0 ? box_->ScaleWidth : 1;
    double sh = box_ && box_->ScaleHeight != 0 ? box_->ScaleHeight : 1;
    double left = box_ ? box_->ScaleLeft : 0, top = box_ ? box_->ScaleTop : 0;
    return {(x - left) * width() / sw, (y - top) * height() / sh};
}

QPointF Canvas::ToScale(QPointF p) const {
    if (!box_) return p;
    double sw = box_->ScaleWidth, sh = box_->ScaleHeight;
    return {box_->ScaleLeft + (width() ? p.x() * sw / width() : 0),
            box_->ScaleTop + (height() ? p.y() * sh / height() : 0)};
}

void Canvas::paintEvent(QPaintEvent*) {
    QColor back = box_ && box_->BackColor >= 0 ? ToColor(box_->BackColor) : QColor(Qt::white);
    if (!box_) {
        QPainter p(this);
        p.fillRect(rect(), back);
        return;
    }
    const std::vector<DrawOp>& ops = box_->DisplayList();
    const qreal dpr = devicePixelRatioF();
    const QSize need = size() * dpr;
    if (image_.size() != need || clears_ != box_->ClearCount() || back_ != box_->BackColor() ||
        drawn_ > ops.size()) {
        image_ = QImage(need, QImage::Format_ARGB32_Premultiplied);
        image_.setDevicePixelRatio(dpr);
        image_.fill(back);
        drawn_ = 0;
        clears_ = box_->ClearCount();
        back_ = box_->BackColor();
    }
    if (drawn_ < ops.size()) {
        QPainter ip(&image_);
        PaintOps(ip, ops, drawn_);
        drawn_ = ops.size();
    }
    QPainter p(this);
    p.drawImage(QPointF(0, 0), image_);
    PaintOps(p, box_->FixedLines(), 0);
}

void Canvas::PaintOps(QPainter& p, const std::vector<DrawOp>& ops, std::size_t from) {
    p.setFont(FontFor(box_->FontName, box_->FontSize, box_->FontBold, box_->FontItalic));
    double unitX = std::fabs(width() / (box_->ScaleWidth != 0 ? box_->ScaleWidth : 1));
    // Pens and brushes are made only when they change.
    std::int32_t penColour = -1;
    int penStyle = -1, penWidth = -1;
    for (std::size_t i = from; i < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        QColor colour = ToColor(op.colour);
        if (op.colour != penColour || op.drawStyle != penStyle || op.drawWidth != penWidth) {
            QPen pen(colour, std::max(1, static_cast<int>(op.drawWidth)));
            pen.setStyle(op.drawStyle == 1 ? Qt::DashLine : op.drawStyle == 2 ? Qt::DotLine : Qt::SolidLine);
            p.setPen(pen);
            penColour = op.colour;
            penStyle = op.drawStyle;
            penWidth = op.drawWidth;
        }
        p.setBrush(Qt::NoBrush);
        QPointF a = ToPixels(op.x1, op.y1), b = ToPixels(op.x2, op.y2);
        switch (op.kind) {
            case DrawOp::Cls: break;
            case DrawOp::PSet:
                if (op.drawWidth <= 1) p.drawPoint(a);
                else p.fillRect(QRectF(a.x() - op.drawWidth / 2.0, a.y() - op.drawWidth / 2.0,
                                       op.drawWidth, op.drawWidth), colour);
                break;
            case DrawOp::Line: p.drawLine(a, b); break;
            case DrawOp::Box:
                if (op.fillStyle == 0) p.setBrush(ToColor(op.fillColour));
                p.drawRect(QRectF(a, b).normalized());
                break;
            case DrawOp::FilledBox: {
                QRectF r = QRectF(a, b).normalized();
                p.fillRect(r.adjusted(0, 0, 1, 1), colour);
                break;
            }
            case DrawOp::Circle: {
                double r = op.r * unitX;
                if (op.fillStyle == 0 && op.drawWidth <= 1 && r <= 8) {
                    const QImage& disc = Disc(op.colour, op.fillColour, r, p.device()->devicePixelRatioF());
                    p.drawImage(QPointF(a.x() - r - 1, a.y() - r - 1), disc);
                    break;
                }
                if (op.fillStyle == 0) p.setBrush(ToColor(op.fillColour));
                p.drawEllipse(a, r, r);
                break;
            }
            case DrawOp::Text:
                p.drawText(QPointF(a.x(), a.y() + p.fontMetrics().ascent()), ToQt(box_->TextOf(op)));
                break;
        }
    }
}

const QImage& Canvas::Disc(std::int32_t pen, std::int32_t fill, double radius, qreal dpr) {
    const int key = static_cast<int>(std::lround(radius * 8));
    auto it = discs_.find({pen, fill, key});
    if (it != discs_.end() && it->second.devicePixelRatio() == dpr) return it->second;
    const double side = 2 * radius + 2;
    QImage img(QSize(static_cast<int>(std::ceil(side * dpr)), static_cast<int>(std::ceil(side * dpr))),
               QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    QPainter q(&img);
    q.setPen(QPen(ToColor(pen), 1));
    q.setBrush(ToColor(fill));
    q.drawEllipse(QPointF(radius + 1, radius + 1), radius, radius);
    q.end();
    return discs_[{pen, fill, key}] = img;
}

void Canvas::Mouse(int kind, QMouseEvent* event) {
    if (!onMouse || !box_) return;
    QPointF s = ToScale(event->position());
    Qt::MouseButtons buttons = kind == 2 ? event->buttons() : event->button();
    onMouse(kind, ButtonCode(buttons), ShiftCode(event->modifiers()), s.x(), s.y());
}

void Canvas::mousePressEvent(QMouseEvent* event) { Mouse(0, event); }

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    Mouse(1, event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

void Canvas::mouseMoveEvent(QMouseEvent* event) { Mouse(2, event); }

void Canvas::mouseDoubleClickEvent(QMouseEvent*) {
    if (onDblClick) onDblClick();
}

}  // namespace platform::qt
