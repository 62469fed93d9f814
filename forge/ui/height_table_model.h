#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

#include "common/block_convention.h"

class QFont;
class QUndoStack;

namespace qarn::forge {

// The "Edit Grids" table's contents: one integer height per cell, held in a
// plain vector, shown as the number followed by one blank. Cells the user has
// edited keep the typed text exactly; those texts are stored sparsely, so a
// 540 x 540 map costs one int per cell. With an undo stack attached, every
// edit goes through it as one undoable step, and a new fill clears it.
// Errors: setHeights refuses (returns false, keeps the old contents) when the
// vector does not hold rows x cols values; out-of-range reads give an empty
// text. The model does not own the undo stack.
class HeightTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit HeightTableModel(QObject* parent = nullptr);

    // Replaces the whole table; heights row by row from the top, already
    // truncated toward zero. Forgets every edit.
    bool setHeights(int rows, int cols, std::vector<int> truncatedHeights);

    // Empties the table (no rows, no columns).
    void clear();

    // The text cell (row, col) shows now: the edited text, or "<height> ".
    QString cellText(int row, int col) const;

    // Every cell's current text, row by row from the top.
    std::vector<QString> cellTexts() const;

    // Edits from now on are pushed onto `stack` (null: applied directly).
    void setUndoStack(QUndoStack* stack) { undoStack_ = stack; }
    QUndoStack* undoStack() const { return undoStack_; }

    // Puts a cell back to a kept text, or to its built height when `text` is
    // empty; the undo steps replay edits through it.
    void restoreCell(int row, int col, const std::optional<QString>& text);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    int editedCellCount() const { return static_cast<int>(edited_.size()); }
    std::optional<QString> editedText(int row, int col) const;

    // Labels: row r (0 at the top) carries (rows - r) x METRES_PER_SRTM_GRID,
    // column c carries (c + 1) x METRES_PER_SRTM_GRID, both with 3 decimals.
    QString rowLabel(int row) const;
    QString columnLabel(int col) const;

    // Width each column needs for its widest text (cells in cellFont, the label
    // in headerFont), measured once per distinct text rather than per cell.
    std::vector<int> columnWidths(const QFont& cellFont, const QFont& headerFont, int cellPadding,
                                  int headerPadding) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    qsizetype offset(int row, int col) const { return qsizetype(row) * cols_ + col; }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<int> heights_;
    QHash<qsizetype, QString> edited_;
    QUndoStack* undoStack_ = nullptr;

signals:
    // An undo or redo changed this cell, so a view can bring it into sight.
    void cellRestored(const QModelIndex& index);
};

} // namespace qarn::forge
