#pragma once

#include "painter/model/block_edit.h"
#include "painter/model/block_map.h"
#include "painter/model/problem_list.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

class QUndoStack;

namespace qarn::painter {

// One map being painted: its blocks, their undo history, the file they were
// opened from or saved to and whether that file still holds the picture as
// opened, and which blocks were painted since. The canvas, palette, preview,
// status bar and title observe it through its signals; the blocks change only
// through strokes (pushed once the canvas has painted them) and their undo
// and redo. Nothing here fails; the document owns the map and the history.
class PainterDocument : public QObject {
    Q_OBJECT

public:
    explicit PainterDocument(QObject* parent = nullptr);
    ~PainterDocument() override;

    const BlockMap& map() const { return map_; }
    // The map for the canvas to paint a stroke into; the stroke is pushed when it ends.
    BlockMap& mapForPainting() { return map_; }
    bool hasMap() const { return map_.rows > 0 && map_.cols > 0; }
    QUndoStack* undoStack() const { return undoStack_; }
    const QString& path() const { return path_; } // empty until saved
    bool pictureAsOpened() const { return asOpened_; }
    // 1 for each block painted since the map was opened or made (row-major).
    const std::vector<std::uint8_t>& painted() const { return painted_; }
    // The picture check's findings on the map as opened: its problems, and its
    // warning marks (painter/model/warning_marks.h), both empty until a check is in.
    const ProblemList& problems() const { return problems_; }
    const std::vector<std::uint8_t>& warningMarks() const { return warnings_; }
    // Counts the maps installed, so late background work on an earlier one is dropped.
    int generation() const { return generation_; }

    // The stroke being painted, on the map as it goes: begun by the canvas,
    // ended as one undo step. Undo, redo, New and Open wait for it to end.
    bool stroking() const { return stroking_; }
    BlockEdit& stroke() { return stroke_; }
    void beginStroke();
    // Ends the stroke in progress, as one undo step named `name` unless it changed nothing.
    void endStroke(const QString& name);
    // Drops the stroke in progress, its blocks back as they were.
    void dropStroke();

    // A new map or an opened one (`asOpened`: `path` holds it as it was read); the history starts afresh.
    void install(BlockMap map, const QString& path, bool asOpened);
    // A finished stroke, already on the map, as one undo step named `name`.
    void pushStroke(BlockEdit edit, const QString& name);
    // A check's results for the map of `generation`: false, and dropped, when
    // that is not this map any more. Blocks painted since lose their marks.
    bool setCheck(int generation, ProblemList problems, std::vector<std::uint8_t> warnings);
    // The map was written to `path`: that is its file now, and it is clean.
    void setSaved(const QString& path);

signals:
    void mapReplaced();
    // Blocks changed by an undo or redo.
    void blocksChanged(const BlockEdit& edit);
    // New check results, or none for a new map.
    void checkChanged();

private:
    BlockMap map_;
    QUndoStack* undoStack_;
    QString path_;
    bool asOpened_ = false;
    std::vector<std::uint8_t> painted_;
    int generation_ = 0;
    ProblemList problems_;
    std::vector<std::uint8_t> warnings_;
    BlockEdit stroke_;
    bool stroking_ = false;
};

} // namespace qarn::painter
