#include "canvas/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Clips the segment (u0,v0)-(u1,v1) in pixel space to the given box
// (Liang-Barsky). Returns false when nothing of it lies inside. Keeps the
// rasteriser from walking millions of off-canvas pixels when a fitted curve
// shoots far out of the image.
bool clipSegment(double& u0, double& v0, double& u1, double& v1, double lo, double hi) {
    double t0 = 0, t1 = 1;
    const double du = u1 - u0, dv = v1 - v0;
    const double p[4] = {-du, du, -dv, dv};
    const double q[4] = {u0 - lo, hi - u0, v0 - lo, hi - v0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double nu0 = u0 + t0 * du, nv0 = v0 + t0 * dv;
    u1 = u0 + t1 * du;
    v1 = v0 + t1 * dv;
    u0 = nu0;
    v0 = nv0;
    return true;
}

bool isFinite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

} // namespace

// The overlay gets its memory only when something is first drawn into it:
// until an image is loaded everything is drawn persistently, and a window
// that never loads one never touches that megabyte.
Canvas::Canvas() : m_imageLayer(Size, Size, QImage::Format_RGB32) {
    m_imageLayer.fill(colours::toPixelWord(colours::White));
}

void Canvas::setScale(double x1, double y1, double x2, double y2) {
    m_scale = CanvasScale{x1, y1, x2, y2};
}

void Canvas::clear() {
    discardOverlay();
    if (m_persistent)
        rebuildImageLayer();
}

void Canvas::rebuildImageLayer() {
    m_imageLayer.fill(colours::toPixelWord(colours::White));
    if (m_picture.isNull())
        return;
    const int width = std::min(m_picture.width(), Size);
    const int height = std::min(m_picture.height(), Size);
    for (int row = 0; row < height; ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(m_picture.constScanLine(row));
        auto* dst = reinterpret_cast<QRgb*>(m_imageLayer.scanLine(row));
        std::copy(src, src + width, dst);
    }
}

void Canvas::discardOverlay() {
    if (m_overlayUsed) {
        m_overlay.fill(Qt::transparent);
        m_overlayUsed = false;
    }
}

void Canvas::setBackgroundPicture(const QImage& picture) {
    // A picture that fits is shared, not copied: the canvas only ever reads
    // it, and a second megabyte would only raise the peak of every load.
    const QSize kept = picture.size().boundedTo(QSize(Size, Size));
    const QImage cut = kept == picture.size() ? picture : picture.copy(QRect(QPoint(0, 0), kept));
    // One pixel format for everything that is loaded: opaque 0xffRRGGBB.
    m_picture = cut.convertToFormat(QImage::Format_RGB32);
    rebuildImageLayer();
    discardOverlay();
}

QImage& Canvas::target() {
    if (m_persistent)
        return m_imageLayer;
    if (m_overlay.isNull()) {
        m_overlay = QImage(Size, Size, QImage::Format_ARGB32_Premultiplied);
        m_overlay.fill(Qt::transparent);
    }
    m_overlayUsed = true;
    return m_overlay;
}

void Canvas::plot(QImage& layer, long long column, long long row, QRgb word) {
    if (column < 0 || row < 0 || column >= Size || row >= Size)
        return;
    reinterpret_cast<QRgb*>(layer.scanLine(int(row)))[column] = word;
}

void Canvas::line(float x1, float y1, float x2, float y2) {
    line(x1, y1, x2, y2, m_drawingColour);
}

void Canvas::line(float x1, float y1, float x2, float y2, Colour colour) {
    m_currentPoint = QPointF(x2, y2);
    double u0 = m_scale.toPixelSpaceX(x1), v0 = m_scale.toPixelSpaceY(y1);
    double u1 = m_scale.toPixelSpaceX(x2), v1 = m_scale.toPixelSpaceY(y2);
    if (!isFinite(u0, v0) || !isFinite(u1, v1))
        return;
    // A margin of a few pixels keeps the pixels of clipped end points exact.
    if (!clipSegment(u0, v0, u1, v1, -4.0, Size + 4.0))
        return;

    QImage& layer = target();
    const QRgb word = colours::toPixelWord(colour);
    long long c0 = CanvasScale::pixelIndex(u0), r0 = CanvasScale::pixelIndex(v0);
    const long long c1 = CanvasScale::pixelIndex(u1), r1 = CanvasScale::pixelIndex(v1);

    // Bresenham between the two end pixels, both included.
    const long long dc = std::llabs(c1 - c0), dr = -std::llabs(r1 - r0);
    const int sc = c0 < c1 ? 1 : -1, sr = r0 < r1 ? 1 : -1;
    long long err = dc + dr;
    for (;;) {
        plot(layer, c0, r0, word);
        if (c0 == c1 && r0 == r1)
            break;
        const long long e2 = 2 * err;
        if (e2 >= dr) {
            err += dr;
            c0 += sc;
        }
        if (e2 <= dc) {
            err += dc;
            r0 += sr;
        }
    }
}

void Canvas::circle(float x, float y, float r) {
    m_currentPoint = QPointF(x, y);
    const double u = m_scale.toPixelSpaceX(x), v = m_scale.toPixelSpaceY(y);
    const double radius = std::abs(double(r)) * m_scale.pixelsPerUnitX();
    if (!isFinite(u, v) || !std::isfinite(radius) || radius > 4 * Size)
        return;
    const long long cc = CanvasScale::pixelIndex(u), cr = CanvasScale::pixelIndex(v);
    const int reach = int(std::floor(radius));
    if (cc + reach < 0 || cr + reach < 0 || cc - reach >= Size || cr - reach >= Size)
        return;

    QImage& layer = target();
    const QRgb outline = colours::toPixelWord(m_drawingColour);
    const QRgb fill = colours::toPixelWord(colours::Black);
    const double outer = radius * radius;
    const double inner = std::max(0.0, radius - 1) * std::max(0.0, radius - 1);
    for (int dr = -reach; dr <= reach; ++dr) {
        for (int dc = -reach; dc <= reach; ++dc) {
            const double d = double(dc) * dc + double(dr) * dr;
            if (d > outer)
                continue;
            plot(layer, cc + dc, cr + dr, d > inner ? outline : fill);
        }
    }
}

QFont Canvas::textFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    // Whole pixels only: what a pixel read sees is exactly the drawing colour
    // or what lay beneath.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void Canvas::print(const QString& text) {
    const QFont font = textFont();
    const int lineHeight = QFontMetrics(font).height();
    const double u = m_scale.toPixelSpaceX(m_currentPoint.x());
    const double v = m_scale.toPixelSpaceY(m_currentPoint.y());
    if (isFinite(u, v) && std::abs(u) < 4 * Size && std::abs(v) < 4 * Size) {
        QImage& layer = target();
        QPainter painter(&layer);
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(colours::toPixelWord(m_drawingColour)));
        const QRect box(int(CanvasScale::pixelIndex(u)), int(CanvasScale::pixelIndex(v)), 4 * Size,
                        lineHeight);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    const double step = lineHeight * (m_scale.y2 - m_scale.y1) / Size;
    m_currentPoint.setY(m_currentPoint.y() + step);
}

void Canvas::setPixel(float x, float y, Colour colour) {
    const auto column = m_scale.column(x);
    const auto row = m_scale.row(y);
    if (!column || !row)
        return;
    plot(target(), *column, *row, colours::toPixelWord(colour));
}

Colour Canvas::pixel(float x, float y) const {
    const auto column = m_scale.column(x);
    const auto row = m_scale.row(y);
    if (!column || !row)
        return colours::NoColour;
    if (!m_persistent && m_overlayUsed) {
        const QRgb over = reinterpret_cast<const QRgb*>(m_overlay.constScanLine(*row))[*column];
        if (qAlpha(over) != 0)
            return colours::fromPixelWord(over);
    }
    return colours::fromPixelWord(
        reinterpret_cast<const QRgb*>(m_imageLayer.constScanLine(*row))[*column]);
}
