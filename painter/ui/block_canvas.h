#pragma once

#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/brush.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

namespace qarn::painter {

class PainterDocument;

// The painting surface: the map shown one screen square per block, zoomed and
// panned, with the block grid when zoomed in and marked blocks outlined. Mouse
// strokes paint into the map the window lends it and are collected in the
// document's stroke in progress; strokeEnded() says the window may end it.
// Nothing fails here; blocks outside the map are ignored. The window owns the
// map and must call setMap() again (or refreshBlocks()) whenever it changes
// the map itself. Under the mouse the tools that dab draw the outline of the
// blocks their next dab would paint; a reference picture (a scanned map) can
// be shown faded under the blocks, a view of its own that the map never holds.
class BlockCanvas : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum class Tool { Pencil, Rectangle, Fill, Picker, Raise, Lower, SlopeUp, SlopeDown };

    explicit BlockCanvas(QWidget* parent = nullptr);

    // The document whose stroke in progress the mouse paints; set once, before a map is shown.
    void setDocument(PainterDocument* doc) { doc_ = doc; }
    // Shows `map` (null: nothing), zoomed to fit; marks are cleared.
    void setMap(BlockMap* map);
    // Redraws the blocks an undo or redo changed; their warnings go.
    void refreshBlocks(const BlockEdit& edit);

    // A tool chosen during a stroke takes over once the stroke has ended.
    void setTool(Tool tool);
    Tool tool() const { return tool_; }
    void setPenSize(int blocks);
    void setBrushShape(BrushShape shape);
    Brush brush() const { return brush_; }
    void setColour(Rgb colour) { colour_ = colour; }
    Rgb colour() const { return colour_; }

    // Red outlines: blocks whose colour stops a build (1 a block, row-major).
    void setWrongMarks(std::vector<std::uint8_t> marks);
    // Blue: the picture check's warnings as painter/model/warning_marks.h
    // flags them, a box round a block or a cliff's edge between two.
    void setWarningMarks(std::vector<std::uint8_t> marks);
    void setGridLines(bool on);
    // Whether the blue outlines are drawn.
    void setWarningsShown(bool on);
    // The reference picture, stretched over the map's extent (null: none), and
    // how much of it shows over the blocks (0 to 1).
    void setReference(const QImage& picture);
    void setReferenceOpacity(double opacity);
    void setReferenceShown(bool on);
    // Scrolls so that block (row, col) is in the middle of the view, as far as the map allows.
    void centreOn(int row, int col);
    // The same for a point counted in blocks from the map's top-left corner.
    void centreOnPoint(QPointF blocks);
    // The part of the map in view, in blocks from its top-left corner (empty without a map).
    QRectF visibleBlocks() const;

    // Screen pixels per block.
    double zoom() const { return zoom_; }
    void zoomBy(double factor, QPointF anchor); // anchor in viewport pixels
    void zoomIn();
    void zoomOut();
    void fitToWindow();

    // A stroke as the mouse gives it, in blocks: for the window's tests and the
    // benchmarks as much as for the mouse. Each step paints at once and asks for
    // a repaint of the changed blocks only.
    void strokeBegin(int row, int col);
    void strokeMove(int row, int col);
    void strokeEnd(int row, int col);
    // Whether a stroke is being collected (the mouse button is held).
    bool stroking() const { return stroking_; }
    // Ends a stroke in progress where it is, as letting go of the button would.
    void endStroke();

    // The block under viewport point `pos` (may lie outside the map).
    QPoint blockAt(QPointF pos) const; // x column, y row
    // The viewport rectangle of a block.
    QRectF blockRect(int row, int col) const;
    const QImage& image() const { return image_; }

signals:
    void strokeEnded();
    // The block under the mouse, or (-1, -1) off the map.
    void hoverChanged(int row, int col);
    void colourPicked(const QColor& colour);
    void zoomChanged(double zoom);
    // The part of the map in view moved or changed size (see visibleBlocks()).
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    // Space held anywhere in the canvas's window pans, whichever widget has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointF origin() const; // viewport position of the map's top-left corner
    void updateScrollBars();
    void setPixel(std::size_t index, Rgb colour);
    void stepDab(int row, int col); // raise, lower or a slope brush's square at one block
    void syncStroke(); // draws the stroke's new changes and repaints them
    void repaintBlocks(int row0, int col0, int row1, int col1);
    void paintMarks(QPainter& painter, int r0, int c0, int r1, int c1);
    void clearMarks(int row, int col, bool wrong); // the block was painted: its warnings (and red mark) are answered
    void drawOverlay(int row, int col); // the block's pixel of the marks' overlay
    void rubberBandChanged(QPoint previous);
    void updateCursor();
    bool spaceKey(QKeyEvent* event); // true when the event was Space and taken
    QRect rubberBand() const; // rows and columns of the rectangle tool's drag, in blocks
    // The brush outline: where it is (none when the mouse is off the canvas or the tool does not dab).
    std::optional<QPoint> brushBlock() const;
    void moveBrushOutline(std::optional<QPointF> mouse);
    void repaintBrushOutline(std::optional<QPoint> block);
    void drawBrushOutline(QPainter& painter, QPoint block);

    BlockMap* map_ = nullptr;
    QImage image_; // one pixel a block
    std::vector<std::uint8_t> wrong_, warnings_;
    // When zoomed out: the marks one pixel a block, red or blue over the blocks they touch, else clear.
    QImage overlay_;
    bool overlayStale_ = true;
    bool gridLines_ = true;
    bool warningsShown_ = true;
    double zoom_ = 1.0;
    bool fitting_ = true; // zoomed to fit and not zoomed since

    Tool tool_ = Tool::Pencil;
    Tool nextTool_ = Tool::Pencil; // chosen during a stroke
    Brush brush_;
    Rgb colour_ = {0, 132, 33};

    PainterDocument* doc_ = nullptr;
    bool stroking_ = false;       // the mouse's part: the stroke itself is the document's
    std::size_t synced_ = 0;      // stroke changes already drawn
    QPoint anchor_, last_;        // first and latest block of the stroke (x column, y row)
    QPoint lastEnd_{-1, -1};      // where the last pencil stroke ended
    bool lineFromLast_ = false;   // the stroke being begun is a Shift+click

    bool panning_ = false;
    bool spaceHeld_ = false;
    QPoint panFrom_;
    QPoint hover_{-1, -1};
    std::optional<QPointF> mouse_; // where the mouse is over the viewport

    QImage reference_;
    double referenceOpacity_ = 0.5;
    bool referenceShown_ = true;
};

} // namespace qarn::painter
