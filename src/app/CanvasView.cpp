#include "app/CanvasView.h"

#include "canvas/Canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <cmath>

CanvasView::CanvasView(Canvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CanvasView::sizeHint() const {
    return QSize(Canvas::Size + 2 * Border, Canvas::Size + 2 * Border);
}

QPointF CanvasView::logicalPosition(QPointF widgetPosition) const {
    const int column = int(std::floor(widgetPosition.x())) - Border;
    const int row = int(std::floor(widgetPosition.y())) - Border;
    const CanvasScale& scale = m_canvas.scale();
    return QPointF(scale.logicalX(column), scale.logicalY(row));
}

void CanvasView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), /*sunken=*/true);
    painter.drawImage(Border, Border, m_canvas.imageLayer());
    if (!m_canvas.overlayIsEmpty())
        painter.drawImage(Border, Border, m_canvas.overlay());
}

// Every mouse button does the same; modifiers are ignored.
void CanvasView::mousePressEvent(QMouseEvent* event) {
    const QPointF p = logicalPosition(event->position());
    emit pressed(float(p.x()), float(p.y()));
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = logicalPosition(event->position());
    emit moved(float(p.x()), float(p.y()));
}

void CanvasView::mouseReleaseEvent(QMouseEvent*) {
    emit released();
}
