#pragma once

#include <QWidget>

class Canvas;

// Shows a Canvas inside a 2-pixel sunken border and turns mouse events into
// logical coordinates through the canvas scale. It holds no pixels itself:
// every repaint composes the image layer and the overlay afresh.
class CanvasView : public QWidget {
    Q_OBJECT
public:
    static constexpr int Border = 2;

    explicit CanvasView(Canvas& canvas, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // The logical point at the centre of the canvas pixel under a widget
    // position (also for positions outside the widget during a drag).
    QPointF logicalPosition(QPointF widgetPosition) const;

signals:
    void pressed(float x, float y);
    void moved(float x, float y);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Canvas& m_canvas;
};
