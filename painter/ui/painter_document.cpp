#include "painter_document.h"

#include "painter/model/warning_marks.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <functional>

namespace qarn::painter {

namespace {

// One stroke as one undo step, told to the document's observers through
// `changed`. The stroke is already on the map when it is pushed, so the first
// redo() (QUndoStack::push calls it) does nothing.
class StrokeCommand : public QUndoCommand {
public:
    StrokeCommand(BlockMap& map, BlockEdit edit, const QString& text, std::function<void(const BlockEdit&)> changed)
        : QUndoCommand(text), map_(map), edit_(std::move(edit)), changed_(std::move(changed))
    {
    }
    void undo() override
    {
        edit_.undo(map_);
        changed_(edit_);
    }
    void redo() override
    {
        if (first_) {
            first_ = false;
            return;
        }
        edit_.redo(map_);
        changed_(edit_);
    }

private:
    BlockMap& map_;
    BlockEdit edit_;
    std::function<void(const BlockEdit&)> changed_;
    bool first_ = true;
};

} // namespace

PainterDocument::PainterDocument(QObject* parent) : QObject(parent), undoStack_(new QUndoStack(this)) {}

PainterDocument::~PainterDocument()
{
    // The stack, a child, empties itself when deleted and says so; no one is to be told by then.
    undoStack_->disconnect();
}

void PainterDocument::install(BlockMap map, const QString& path, bool asOpened)
{
    map_ = std::move(map);
    stroke_ = BlockEdit();
    stroking_ = false;
    path_ = path;
    asOpened_ = asOpened;
    ++generation_;
    undoStack_->clear();
    undoStack_->setClean();
    painted_.assign(map_.blocks.size(), 0);
    problems_ = {};
    warnings_.clear();
    emit mapReplaced();
    emit checkChanged();
}

void PainterDocument::beginStroke()
{
    stroke_ = BlockEdit();
    stroking_ = true;
}

void PainterDocument::endStroke(const QString& name)
{
    stroking_ = false;
    BlockEdit edit = std::move(stroke_);
    stroke_ = BlockEdit();
    edit.finish();
    if (!edit.empty())
        pushStroke(std::move(edit), name);
}

void PainterDocument::dropStroke()
{
    stroke_.undo(map_);
    stroke_ = BlockEdit();
    stroking_ = false;
}

void PainterDocument::pushStroke(BlockEdit edit, const QString& name)
{
    for (const BlockChange& change : edit.changes())
        painted_[change.index] = 1;
    undoStack_->push(new StrokeCommand(map_, std::move(edit), name,
                                       [this](const BlockEdit& changed) { emit blocksChanged(changed); }));
}

bool PainterDocument::setCheck(int generation, ProblemList problems, std::vector<std::uint8_t> warnings)
{
    if (generation != generation_ || warnings.size() != painted_.size())
        return false; // a check of an earlier map
    for (std::size_t i = 0; i < warnings.size(); ++i)
        if (painted_[i]) // painted while the check ran
            clearWarningMarks(warnings, map_.rows, map_.cols, static_cast<std::int32_t>(i / map_.cols),
                              static_cast<std::int32_t>(i % map_.cols));
    problems_ = std::move(problems);
    warnings_ = std::move(warnings);
    emit checkChanged();
    return true;
}

void PainterDocument::setSaved(const QString& path)
{
    path_ = path;
    asOpened_ = false;
    undoStack_->setClean();
}

} // namespace qarn::painter
