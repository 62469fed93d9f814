#include "block_canvas.h"

#include "painter_document.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "painter/model/warning_marks.h"
#include "qtsupport/colours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qarn::painter {

namespace {

constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 64.0;
constexpr double kZoomStep = 1.25;
constexpr double kGridLineZoom = 8.0; // block grid lines from this many screen pixels a block
constexpr double kMarkLineZoom = 3.0; // marks drawn as lines from this many, below as a tint of whole blocks
constexpr double kCornerReach = 0.3;  // a corner's stroke reaches this part of a block each way
const QRgb kWrongColour = qRgb(220, 0, 0);
const QRgb kWarningColour = qRgb(0, 60, 255);

QRgb toQRgb(Rgb c)
{
    return qRgb(c.red, c.green, c.blue);
}

} // namespace

BlockCanvas::BlockCanvas(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    updateCursor();
    qApp->installEventFilter(this);
}

void BlockCanvas::setTool(Tool tool)
{
    repaintBrushOutline(brushBlock());
    nextTool_ = tool;
    if (!stroking_)
        tool_ = tool;
    repaintBrushOutline(brushBlock());
}

void BlockCanvas::setPenSize(int blocks)
{
    repaintBrushOutline(brushBlock());
    brush_.size = blocks;
    repaintBrushOutline(brushBlock());
}

void BlockCanvas::setBrushShape(BrushShape shape)
{
    brush_.shape = shape;
    repaintBrushOutline(brushBlock()); // a round dab lies within the square one
}

void BlockCanvas::setReference(const QImage& picture)
{
    // Premultiplied (or opaque) is what the raster painter blends fastest.
    reference_ = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                   : QImage::Format_RGB32);
    viewport()->update();
}

void BlockCanvas::setReferenceOpacity(double opacity)
{
    referenceOpacity_ = std::clamp(opacity, 0.0, 1.0);
    viewport()->update();
}

void BlockCanvas::setReferenceShown(bool on)
{
    referenceShown_ = on;
    viewport()->update();
}

void BlockCanvas::setMap(BlockMap* map)
{
    map_ = map;
    stroking_ = false;
    wrong_.clear();
    warnings_.clear();
    overlay_ = QImage();
    overlayStale_ = true;
    if (!map_) {
        image_ = QImage();
    } else {
        image_ = QImage(map_->cols, map_->rows, QImage::Format_RGB32);
        for (int row = 0; row < map_->rows; ++row) {
            auto* line = reinterpret_cast<QRgb*>(image_.scanLine(row));
            for (int col = 0; col < map_->cols; ++col)
                line[col] = toQRgb(map_->at(row, col));
        }
    }
    fitToWindow();
}

void BlockCanvas::refreshBlocks(const BlockEdit& edit)
{
    if (!map_ || edit.empty())
        return;
    int r0 = map_->rows, c0 = map_->cols, r1 = -1, c1 = -1;
    for (const BlockChange& change : edit.changes()) {
        setPixel(change.index, map_->blocks[change.index]);
        const int row = static_cast<int>(change.index / map_->cols), col = static_cast<int>(change.index % map_->cols);
        clearMarks(row, col, false);
        r0 = std::min(r0, row), r1 = std::max(r1, row), c0 = std::min(c0, col), c1 = std::max(c1, col);
    }
    repaintBlocks(r0, c0, r1, c1);
}

void BlockCanvas::setWrongMarks(std::vector<std::uint8_t> marks)
{
    wrong_ = std::move(marks);
    overlayStale_ = true;
    viewport()->update();
}

void BlockCanvas::setWarningMarks(std::vector<std::uint8_t> marks)
{
    warnings_ = std::move(marks);
    overlayStale_ = true;
    viewport()->update();
}

void BlockCanvas::setGridLines(bool on)
{
    gridLines_ = on;
    viewport()->update();
}

// --- zoom and scrolling ----------------------------------------------------

QPointF BlockCanvas::origin() const
{
    if (!map_)
        return {};
    const double w = map_->cols * zoom_, h = map_->rows * zoom_;
    const QSize view = viewport()->size();
    return {w < view.width() ? (view.width() - w) / 2 : -horizontalScrollBar()->value(),
            h < view.height() ? (view.height() - h) / 2 : -verticalScrollBar()->value()};
}

void BlockCanvas::updateScrollBars()
{
    const QSize view = viewport()->size();
    const int w = map_ ? static_cast<int>(std::ceil(map_->cols * zoom_)) : 0;
    const int h = map_ ? static_cast<int>(std::ceil(map_->rows * zoom_)) : 0;
    horizontalScrollBar()->setRange(0, std::max(0, w - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, std::max(0, h - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void BlockCanvas::zoomBy(double factor, QPointF anchor)
{
    if (!map_)
        return;
    const QPointF o = origin();
    const QPointF block((anchor.x() - o.x()) / zoom_, (anchor.y() - o.y()) / zoom_);
    zoom_ = std::clamp(zoom_ * factor, kMinZoom, kMaxZoom);
    fitting_ = false;
    updateScrollBars();
    // Keep the point of the map under the anchor where it was.
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(block.x() * zoom_ - anchor.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(block.y() * zoom_ - anchor.y())));
    viewport()->update();
    emit zoomChanged(zoom_);
    emit viewChanged();
}

void BlockCanvas::setWarningsShown(bool on)
{
    warningsShown_ = on;
    overlayStale_ = true;
    viewport()->update();
}

void BlockCanvas::centreOn(int row, int col)
{
    centreOnPoint(QPointF(col + 0.5, row + 0.5));
}

void BlockCanvas::centreOnPoint(QPointF blocks)
{
    const QSize view = viewport()->size();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(blocks.x() * zoom_ - view.width() / 2.0)));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(blocks.y() * zoom_ - view.height() / 2.0)));
    viewport()->update();
}

QRectF BlockCanvas::visibleBlocks() const
{
    if (!map_)
        return {};
    const QPointF o = origin();
    const QSizeF view = QSizeF(viewport()->size()) / zoom_;
    return QRectF(QPointF(-o.x() / zoom_, -o.y() / zoom_), view).intersected(QRectF(0, 0, map_->cols, map_->rows));
}

void BlockCanvas::zoomIn()
{
    zoomBy(kZoomStep, QRectF(viewport()->rect()).center());
}

void BlockCanvas::zoomOut()
{
    zoomBy(1 / kZoomStep, QRectF(viewport()->rect()).center());
}

void BlockCanvas::fitToWindow()
{
    if (map_ && map_->rows > 0 && map_->cols > 0) {
        const QSize view = viewport()->size();
        zoom_ = std::clamp(std::min(double(view.width()) / map_->cols, double(view.height()) / map_->rows), kMinZoom,
                           kMaxZoom);
    }
    fitting_ = true;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit zoomChanged(zoom_);
    emit viewChanged();
}

void BlockCanvas::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (fitting_)
        fitToWindow(); // still fitted: stay fitted
    else
        updateScrollBars();
    emit viewChanged();
}

void BlockCanvas::scrollContentsBy(int, int)
{
    viewport()->update();
    emit viewChanged();
}

void BlockCanvas::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoomBy(std::pow(kZoomStep, notches), event->position());
    event->accept();
}

QPoint BlockCanvas::blockAt(QPointF pos) const
{
    const QPointF o = origin();
    return {static_cast<int>(std::floor((pos.x() - o.x()) / zoom_)),
            static_cast<int>(std::floor((pos.y() - o.y()) / zoom_))};
}

QRectF BlockCanvas::blockRect(int row, int col) const
{
    const QPointF o = origin();
    return {o.x() + col * zoom_, o.y() + row * zoom_, zoom_, zoom_};
}

// --- drawing -----------------------------------------------------------------

void BlockCanvas::setPixel(std::size_t index, Rgb colour)
{
    const int cols = map_->cols;
    reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(index / cols)))[index % cols] = toQRgb(colour);
}

void BlockCanvas::repaintBlocks(int row0, int col0, int row1, int col1)
{
    if (row1 < row0 || col1 < col0)
        return;
    // Two pixels more each way for the outlines drawn across block edges, and the reach of corner strokes.
    const QRectF area = blockRect(row0, col0).united(blockRect(row1, col1));
    const int pad = 2 + static_cast<int>(zoom_ * kCornerReach);
    viewport()->update(area.toAlignedRect().adjusted(-pad, -pad, pad, pad));
}

void BlockCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, palette().color(QPalette::Dark));
    if (!map_ || image_.isNull())
        return;

    // Only the blocks the exposed rectangle touches.
    const QPointF o = origin();
    const int c0 = std::max(0, static_cast<int>(std::floor((exposed.left() - o.x()) / zoom_)));
    const int r0 = std::max(0, static_cast<int>(std::floor((exposed.top() - o.y()) / zoom_)));
    const int c1 = std::min(map_->cols, static_cast<int>(std::ceil((exposed.right() + 1 - o.x()) / zoom_)));
    const int r1 = std::min(map_->rows, static_cast<int>(std::ceil((exposed.bottom() + 1 - o.y()) / zoom_)));
    if (c0 >= c1 || r0 >= r1)
        return;
    const QRectF target(o.x() + c0 * zoom_, o.y() + r0 * zoom_, (c1 - c0) * zoom_, (r1 - r0) * zoom_);
    painter.drawImage(target, image_, QRectF(c0, r0, c1 - c0, r1 - r0)); // no smoothing: blocks stay sharp

    if (referenceShown_ && !reference_.isNull() && referenceOpacity_ > 0) {
        // The reference blended over the blocks at its opacity: the same picture
        // as the blocks drawn at the rest of it over the reference, in one pass.
        const QRectF whole(o.x(), o.y(), map_->cols * zoom_, map_->rows * zoom_);
        const QRectF area = whole.intersected(target);
        const double sx = reference_.width() / whole.width(), sy = reference_.height() / whole.height();
        painter.setOpacity(referenceOpacity_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, reference_,
                          QRectF((area.left() - whole.left()) * sx, (area.top() - whole.top()) * sy,
                                 area.width() * sx, area.height() * sy));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setOpacity(1);
    }

    if (gridLines_ && zoom_ >= kGridLineZoom) {
        // Opaque one-pixel strips: blending lines over the map costs a whole
        // frame's time at this size.
        const QColor line(90, 90, 90);
        const QRect area = target.toAlignedRect();
        for (int c = c0; c <= c1; ++c)
            painter.fillRect(QRect(static_cast<int>(std::lround(o.x() + c * zoom_)), area.top(), 1, area.height()), line);
        for (int r = r0; r <= r1; ++r)
            painter.fillRect(QRect(area.left(), static_cast<int>(std::lround(o.y() + r * zoom_)), area.width(), 1), line);
    }

    paintMarks(painter, r0, c0, r1, c1);

    if (stroking_ && tool_ == Tool::Rectangle) {
        const QRect band = rubberBand();
        const QRectF area = blockRect(band.top(), band.left()).united(blockRect(band.bottom(), band.right()));
        // An outline in the colour: a blended fill would be slow on large rectangles.
        painter.setPen(QPen(QColor(colour_.red, colour_.green, colour_.blue), 3));
        painter.drawRect(area.adjusted(1.5, 1.5, -1.5, -1.5));
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    }

    if (const std::optional<QPoint> block = brushBlock())
        drawBrushOutline(painter, *block);
}

// --- brush outline ---------------------------------------------------------------

std::optional<QPoint> BlockCanvas::brushBlock() const
{
    switch (tool_) {
    case Tool::Pencil:
    case Tool::Raise:
    case Tool::Lower:
    case Tool::SlopeUp:
    case Tool::SlopeDown:
        // The block under the mouse, on the map or not: a dab beside it still reaches it.
        if (map_ && mouse_ && !panning_ && !spaceHeld_) // no outline where the mouse pans
            return blockAt(*mouse_);
        break;
    case Tool::Rectangle:
    case Tool::Fill:
    case Tool::Picker:
        break;
    }
    return std::nullopt;
}

void BlockCanvas::repaintBrushOutline(std::optional<QPoint> block)
{
    if (!block)
        return;
    const std::vector<BrushSpan> spans = brushSpans(brush_, block->y(), block->x());
    int left = spans.front().left, right = spans.front().right;
    for (const BrushSpan& span : spans)
        left = std::min(left, span.left), right = std::max(right, span.right);
    repaintBlocks(spans.front().row, left, spans.back().row, right);
}

void BlockCanvas::moveBrushOutline(std::optional<QPointF> mouse)
{
    const std::optional<QPoint> before = brushBlock();
    mouse_ = mouse;
    const std::optional<QPoint> now = brushBlock();
    if (now != before) {
        repaintBrushOutline(before);
        repaintBrushOutline(now);
    }
}

void BlockCanvas::drawBrushOutline(QPainter& painter, QPoint block)
{
    // The dab's blocks on the map, a column range [from, to) a row from the dab's top row on.
    const std::vector<BrushSpan> spans = brushSpans(brush_, block.y(), block.x());
    const int top = spans.front().row;
    std::vector<std::pair<int, int>> rows;
    for (const BrushSpan& span : spans)
        rows.emplace_back(map_->contains(span.row, 0) ? std::max(span.left, 0) : 0,
                          map_->contains(span.row, 0) ? std::min(span.right + 1, map_->cols) : 0);
    const auto rowAt = [&](int row) {
        return row >= top && row < top + int(rows.size()) ? rows[std::size_t(row - top)] : std::pair{0, 0};
    };
    // Its edges: each row's two sides, and whatever of its top (bottom) the row above (below) leaves open.
    const QPointF o = origin();
    const auto x = [&](int col) { return static_cast<int>(std::lround(o.x() + col * zoom_)); };
    const auto y = [&](int row) { return static_cast<int>(std::lround(o.y() + row * zoom_)); };
    QVector<QRect> lines; // one pixel wide, on the block boundaries
    const auto across = [&](int row, int from, int to) {
        if (from < to)
            lines.append(QRect(x(from), y(row), x(to) - x(from) + 1, 1));
    };
    for (int row = top; row < top + int(rows.size()); ++row) {
        const auto [from, to] = rowAt(row);
        if (from >= to)
            continue;
        lines.append(QRect(x(from), y(row), 1, y(row + 1) - y(row) + 1));
        lines.append(QRect(x(to), y(row), 1, y(row + 1) - y(row) + 1));
        for (const int side : {row, row + 1}) {
            const auto [nextFrom, nextTo] = rowAt(side == row ? row - 1 : row + 1);
            if (nextFrom >= nextTo || nextTo <= from || nextFrom >= to) {
                across(side, from, to);
            } else {
                across(side, from, nextFrom);
                across(side, nextTo, to);
            }
        }
    }
    // A dark line with a light one on it shows on every block colour; whole
    // pixels keep both sharp at every zoom.
    for (const QRect& line : lines)
        painter.fillRect(line.adjusted(-1, -1, 1, 1), Qt::black);
    for (const QRect& line : lines)
        painter.fillRect(line, Qt::white);
}

// Marks: a colour that stops a build outlined in red, a warning of the check in
// blue, outlined or, for a cliff, the edge or corner its two blocks share.
// Drawn as opaque strips of whole pixels (blended or wide lines would cost
// more than a frame on a map full of warnings); zoomed out, as a tint of
// each marked block from an image of one pixel a block, drawn like the blocks.
void BlockCanvas::paintMarks(QPainter& painter, int r0, int c0, int r1, int c1)
{
    const bool warnings = warningsShown_ && !warnings_.empty();
    if (wrong_.empty() && !warnings)
        return;
    const QPointF o = origin();
    if (zoom_ < kMarkLineZoom) {
        if (overlayStale_) {
            overlay_ = QImage(map_->cols, map_->rows, QImage::Format_ARGB32_Premultiplied);
            overlayStale_ = false;
            for (int r = 0; r < map_->rows; ++r)
                for (int c = 0; c < map_->cols; ++c)
                    drawOverlay(r, c);
        }
        const QRectF target(o.x() + c0 * zoom_, o.y() + r0 * zoom_, (c1 - c0) * zoom_, (r1 - r0) * zoom_);
        painter.drawImage(target, overlay_, QRectF(c0, r0, c1 - c0, r1 - r0));
        return;
    }
    // Block boundaries rounded as the grid lines are.
    const auto xAt = [&](int c) { return static_cast<int>(std::lround(o.x() + c * zoom_)); };
    const auto yAt = [&](int r) { return static_cast<int>(std::lround(o.y() + r * zoom_)); };
    const int box = zoom_ >= 6 ? 2 : 1;
    const int edge = zoom_ < 4 ? 1 : std::clamp(static_cast<int>(std::lround(zoom_ / 5)), 2, 4);
    const int reach = static_cast<int>(zoom_ * kCornerReach);
    QVector<QRect> red, blue;
    QVector<QLine> corners;
    const auto outline = [box](QVector<QRect>& strips, int x0, int y0, int x1, int y1) {
        strips.append({x0, y0, x1 - x0, box});
        strips.append({x0, y1 - box, x1 - x0, box});
        strips.append({x0, y0 + box, box, y1 - y0 - 2 * box});
        strips.append({x1 - box, y0 + box, box, y1 - y0 - 2 * box});
    };
    // A corner's stroke: `edge` one-pixel lines side by side, rising ("/") or falling ("\").
    const auto corner = [&](int x, int y, bool rising) {
        for (int k = 0; k < edge; ++k) {
            const int dx = k - edge / 2;
            corners.append(rising ? QLine(x - reach + dx, y + reach, x + reach + dx, y - reach)
                                  : QLine(x - reach + dx, y - reach, x + reach + dx, y + reach));
        }
    };
    // Edges and corners are kept by the upper or left block of their pair: one block more up and to each side.
    const int rs = std::max(0, r0 - 1), cs = std::max(0, c0 - 1), ce = std::min(map_->cols, c1 + 1);
    for (int r = rs; r < r1; ++r) {
        const int y0 = yAt(r), y1 = yAt(r + 1);
        for (int c = cs; c < ce; ++c) {
            const std::size_t i = map_->index(r, c);
            const bool wrong = !wrong_.empty() && wrong_[i];
            const std::uint8_t m = warnings ? warnings_[i] : 0;
            if (!wrong && m == 0)
                continue;
            const int x0 = xAt(c), x1 = xAt(c + 1);
            const bool shown = r >= r0 && c >= c0 && c < c1;
            if (wrong && shown)
                outline(red, x0, y0, x1, y1);
            else if ((m & MarkBox) && shown)
                outline(blue, x0, y0, x1, y1);
            if (m & MarkRight)
                blue.append({x1 - edge / 2, y0, edge, y1 - y0});
            if (m & MarkBelow)
                blue.append({x0, y1 - edge / 2, x1 - x0, edge});
            if ((m & MarkBelowRight) && cornerDrawn(warnings_, map_->rows, map_->cols, r, c, MarkBelowRight))
                corner(x1, y1, true); // the pair falls to the right: the stroke rises across their corner
            if ((m & MarkBelowLeft) && cornerDrawn(warnings_, map_->rows, map_->cols, r, c, MarkBelowLeft))
                corner(x0, y1, false);
        }
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kWrongColour));
    painter.drawRects(red);
    painter.setBrush(QColor(kWarningColour));
    painter.drawRects(blue);
    painter.setPen(QPen(QColor(kWarningColour), 0));
    painter.drawLines(corners);
    painter.restore();
}

void BlockCanvas::drawOverlay(int row, int col)
{
    if (!map_->contains(row, col))
        return;
    const std::size_t i = map_->index(row, col);
    const bool wrong = !wrong_.empty() && wrong_[i];
    const bool warned = warningsShown_ && warningMarked(warnings_, map_->rows, map_->cols, row, col);
    reinterpret_cast<QRgb*>(overlay_.scanLine(row))[col] = wrong ? kWrongColour : warned ? kWarningColour : 0;
}

void BlockCanvas::clearMarks(int row, int col, bool wrong)
{
    if (wrong && !wrong_.empty())
        wrong_[map_->index(row, col)] = 0;
    clearWarningMarks(warnings_, map_->rows, map_->cols, row, col);
    if (!overlayStale_)
        for (int r = row - 1; r <= row + 1; ++r)
            for (int c = col - 1; c <= col + 1; ++c)
                drawOverlay(r, c); // the neighbours lose the edges they shared with it
}

// --- strokes -------------------------------------------------------------------

QRect BlockCanvas::rubberBand() const
{
    return QRect(anchor_, last_).normalized();
}

void BlockCanvas::syncStroke()
{
    const std::vector<BlockChange>& changes = doc_->stroke().changes();
    if (synced_ < changes.size()) {
        int r0 = map_->rows, c0 = map_->cols, r1 = -1, c1 = -1;
        for (std::size_t k = synced_; k < changes.size(); ++k) {
            const std::size_t i = changes[k].index;
            setPixel(i, changes[k].after);
            const int row = static_cast<int>(i / map_->cols), col = static_cast<int>(i % map_->cols);
            // Tools paint only colours of the set, and painting answers a warning.
            clearMarks(row, col, true);
            r0 = std::min(r0, row), r1 = std::max(r1, row), c0 = std::min(c0, col), c1 = std::max(c1, col);
        }
        synced_ = changes.size();
        repaintBlocks(r0, c0, r1, c1);
        if (map_->contains(hover_.y(), hover_.x()))
            emit hoverChanged(hover_.y(), hover_.x()); // its rung may have changed
    }
}

void BlockCanvas::rubberBandChanged(QPoint previous)
{
    const QRect before = QRect(anchor_, previous).normalized(), now = rubberBand();
    const QRect both = before.united(now);
    repaintBlocks(both.top(), both.left(), both.bottom(), both.right());
}

void BlockCanvas::strokeBegin(int row, int col)
{
    if (!map_)
        return;
    if (tool_ == Tool::Picker) {
        if (map_->contains(row, col)) {
            const Rgb c = map_->at(row, col);
            emit colourPicked(QColor(c.red, c.green, c.blue));
        }
        return;
    }
    doc_->beginStroke();
    synced_ = 0;
    stroking_ = true;
    anchor_ = last_ = QPoint(col, row);
    switch (tool_) {
    case Tool::Pencil:
        // Shift: a straight line from where the last pencil stroke ended.
        if (lineFromLast_ && map_->contains(lastEnd_.y(), lastEnd_.x()))
            paintLine(*map_, doc_->stroke(), lastEnd_.y(), lastEnd_.x(), row, col, brush_, colour_);
        else
            paintDab(*map_, doc_->stroke(), row, col, brush_, colour_);
        break;
    case Tool::Rectangle:
        rubberBandChanged(last_);
        break;
    case Tool::Fill:
        floodFill(*map_, doc_->stroke(), row, col, colour_);
        break;
    case Tool::Raise:
    case Tool::Lower:
    case Tool::SlopeUp:
    case Tool::SlopeDown:
        stepDab(row, col);
        break;
    case Tool::Picker:
        break;
    }
    syncStroke();
}

void BlockCanvas::stepDab(int row, int col)
{
    const int steps = tool_ == Tool::Raise || tool_ == Tool::SlopeUp ? 1 : -1;
    if (tool_ == Tool::SlopeUp || tool_ == Tool::SlopeDown)
        slopeRungs(*map_, doc_->stroke(), row, col, brush_, steps);
    else
        stepRungs(*map_, doc_->stroke(), row, col, brush_, steps);
}

void BlockCanvas::strokeMove(int row, int col)
{
    const QPoint to(col, row);
    if (!stroking_ || to == last_)
        return;
    const QPoint from = last_;
    last_ = to;
    switch (tool_) {
    case Tool::Pencil:
        paintLine(*map_, doc_->stroke(), from.y(), from.x(), row, col, brush_, colour_);
        break;
    case Tool::Rectangle:
        rubberBandChanged(from);
        break;
    case Tool::Raise:
    case Tool::Lower:
    case Tool::SlopeUp:
    case Tool::SlopeDown: {
        // Every block on the way, so a fast drag leaves no gaps.
        const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        for (int s = 1; s <= steps; ++s)
            stepDab(from.y() + static_cast<int>(std::lround(double(to.y() - from.y()) * s / steps)),
                    from.x() + static_cast<int>(std::lround(double(to.x() - from.x()) * s / steps)));
        break;
    }
    case Tool::Fill:
    case Tool::Picker:
        break;
    }
    syncStroke();
}

void BlockCanvas::strokeEnd(int row, int col)
{
    if (!stroking_)
        return;
    strokeMove(row, col);
    if (tool_ == Tool::Rectangle) {
        paintRectangle(*map_, doc_->stroke(), anchor_.y(), anchor_.x(), last_.y(), last_.x(), colour_);
        stroking_ = false;
        rubberBandChanged(last_);
        syncStroke();
    }
    stroking_ = false;
    if (tool_ == Tool::Pencil)
        lastEnd_ = last_;
    repaintBrushOutline(brushBlock());
    tool_ = nextTool_; // a tool chosen during the stroke takes over now
    repaintBrushOutline(brushBlock());
    emit strokeEnded();
}

void BlockCanvas::endStroke()
{
    if (stroking_)
        strokeEnd(last_.y(), last_.x());
}

// --- mouse and keys ------------------------------------------------------------

void BlockCanvas::updateCursor()
{
    viewport()->setCursor(panning_ ? Qt::ClosedHandCursor : spaceHeld_ ? Qt::OpenHandCursor : Qt::CrossCursor);
    viewport()->update(); // the brush outline goes or comes back
}

void BlockCanvas::mousePressEvent(QMouseEvent* event)
{
    moveBrushOutline(event->position());
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        panning_ = true;
        panFrom_ = event->position().toPoint();
        updateCursor();
    } else if (event->button() == Qt::LeftButton && !stroking_) {
        const QPoint block = blockAt(event->position());
        if (event->modifiers() & Qt::AltModifier) {
            // Alt+click picks the colour whatever the tool.
            if (map_ && map_->contains(block.y(), block.x()))
                emit colourPicked(toQColor(map_->at(block.y(), block.x())));
        } else {
            lineFromLast_ = (event->modifiers() & Qt::ShiftModifier) != 0;
            strokeBegin(block.y(), block.x());
            lineFromLast_ = false;
        }
    }
    event->accept();
}

void BlockCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint block = blockAt(event->position());
    if (panning_) {
        const QPoint now = event->position().toPoint();
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (now.x() - panFrom_.x()));
        verticalScrollBar()->setValue(verticalScrollBar()->value() - (now.y() - panFrom_.y()));
        panFrom_ = now;
    } else if (stroking_) {
        strokeMove(block.y(), block.x());
    }
    moveBrushOutline(event->position());
    const QPoint hover = map_ && map_->contains(block.y(), block.x()) ? block : QPoint(-1, -1);
    if (hover != hover_) {
        hover_ = hover;
        emit hoverChanged(hover_.y(), hover_.x());
    }
    event->accept();
}

void BlockCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
        updateCursor();
    } else if (stroking_ && event->button() == Qt::LeftButton) {
        const QPoint block = blockAt(event->position());
        strokeEnd(block.y(), block.x());
    }
    event->accept();
}

bool BlockCanvas::spaceKey(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space)
        return false;
    if (!event->isAutoRepeat()) {
        spaceHeld_ = event->type() == QEvent::KeyPress;
        updateCursor();
    }
    event->accept();
    return true;
}

void BlockCanvas::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && stroking_ && tool_ == Tool::Rectangle) {
        // Nothing is painted until the button is let go: the rectangle just goes.
        stroking_ = false;
        rubberBandChanged(last_);
        doc_->dropStroke();
        tool_ = nextTool_;
        repaintBrushOutline(brushBlock());
        event->accept();
        return;
    }
    if (!spaceKey(event))
        QAbstractScrollArea::keyPressEvent(event);
}

void BlockCanvas::keyReleaseEvent(QKeyEvent* event)
{
    if (!spaceKey(event))
        QAbstractScrollArea::keyReleaseEvent(event);
}

bool BlockCanvas::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Text entries keep their spaces; the canvas's own keys come to it directly.
    if (!widget || widget == this || widget->window() != window() || qobject_cast<QLineEdit*>(widget) ||
        qobject_cast<QAbstractSpinBox*>(widget))
        return false;
    return spaceKey(static_cast<QKeyEvent*>(event));
}

bool BlockCanvas::viewportEvent(QEvent* event)
{
    // The scroll area passes the viewport's leaving on to no one: the outline goes here.
    if (event->type() == QEvent::Leave)
        moveBrushOutline(std::nullopt);
    return QAbstractScrollArea::viewportEvent(event);
}

void BlockCanvas::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    if (hover_ != QPoint(-1, -1)) {
        hover_ = QPoint(-1, -1);
        emit hoverChanged(-1, -1);
    }
}

} // namespace qarn::painter
