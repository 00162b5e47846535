#pragma once

#include "canvas/CanvasScale.h"
#include "canvas/Colour.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

// The drawing canvas as a plain model: the 512 x 512 image layer (white, the
// background picture, and every drawing made while the persistent switch is
// on) and the transient overlay (every drawing made while it is off), the
// logical scale, the drawing colour and the current point.
//
// All drawing takes logical coordinates and goes straight into image memory;
// whatever falls outside the drawing area is clipped without error.
class Canvas {
public:
    static constexpr int Size = CanvasScale::Size;

    Canvas();

    void setScale(double x1, double y1, double x2, double y2);
    const CanvasScale& scale() const { return m_scale; }

    // Switch off: discards the overlay. Switch on: also rebuilds the image
    // layer from white and the background picture, losing persistent drawings.
    void clear();

    void setPersistent(bool on) { m_persistent = on; }
    bool persistent() const { return m_persistent; }

    void setDrawingColour(Colour c) { m_drawingColour = c; }
    Colour drawingColour() const { return m_drawingColour; }

    QPointF currentPoint() const { return m_currentPoint; }

    // One-pixel line including both end points; current point := (x2, y2).
    void line(float x1, float y1, float x2, float y2);
    void line(float x1, float y1, float x2, float y2, Colour colour);

    // Circle of radius r (logical x units), outlined in the drawing colour
    // and filled black; current point := (x, y).
    void circle(float x, float y, float r);

    // Text in the drawing colour, transparent background, top-left corner at
    // the current point; the current point then moves to the next text line.
    void print(const QString& text);

    void setPixel(float x, float y, Colour colour);

    // With the switch on the image layer's colour, with it off the colour on
    // display; NoColour (-1) outside the drawing area.
    Colour pixel(float x, float y) const;

    // Replaces the picture (placed at the top left, cut beyond 512 x 512),
    // rebuilds the image layer and discards the overlay.
    void setBackgroundPicture(const QImage& picture);

    // A copy of the image layer, for saving.
    QImage image() const { return m_imageLayer; }

    // Direct access for whole-image operations and for the widget that shows
    // the canvas. The image layer is Format_RGB32; the overlay is
    // Format_ARGB32_Premultiplied and fully transparent where nothing is
    // drawn, and a null image until the first drawing into it.
    QImage& imageLayer() { return m_imageLayer; }
    const QImage& imageLayer() const { return m_imageLayer; }
    const QImage& overlay() const { return m_overlay; }
    bool overlayIsEmpty() const { return !m_overlayUsed; }

    // The font that print uses.
    static QFont textFont();

private:
    QImage& target();
    void discardOverlay();
    void plot(QImage& layer, long long column, long long row, QRgb word);
    void rebuildImageLayer();

    CanvasScale m_scale;
    QImage m_picture;
    QImage m_imageLayer;
    QImage m_overlay;
    bool m_overlayUsed = false;
    bool m_persistent = true;
    Colour m_drawingColour = colours::White;
    QPointF m_currentPoint;
};
