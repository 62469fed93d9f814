#include "height_table_model.h"

#include <QFont>
#include <QFontMetrics>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace qarn::forge {

namespace {

// One cell edit: the cell's kept text before and after (none = the built height).
class CellEditCommand : public QUndoCommand {
public:
    CellEditCommand(HeightTableModel* model, int row, int col, std::optional<QString> before, QString after)
        : model_(model), row_(row), col_(col), before_(std::move(before)), after_(std::move(after))
    {
        setText(QStringLiteral("Edit cell"));
    }
    void undo() override { model_->restoreCell(row_, col_, before_); }
    void redo() override { model_->restoreCell(row_, col_, after_); }

private:
    HeightTableModel* model_;
    int row_;
    int col_;
    std::optional<QString> before_;
    QString after_;
};

} // namespace

HeightTableModel::HeightTableModel(QObject* parent) : QAbstractTableModel(parent) {}

bool HeightTableModel::setHeights(int rows, int cols, std::vector<int> truncatedHeights)
{
    if (rows < 0 || cols < 0 || truncatedHeights.size() != std::size_t(rows) * std::size_t(cols))
        return false;
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    heights_ = std::move(truncatedHeights);
    edited_.clear();
    endResetModel();
    // The steps refer to cells of the old table.
    if (undoStack_)
        undoStack_->clear();
    return true;
}

void HeightTableModel::clear()
{
    setHeights(0, 0, {});
}

QString HeightTableModel::cellText(int row, int col) const
{
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return {};
    const qsizetype at = offset(row, col);
    if (auto e = edited_.constFind(at); e != edited_.constEnd())
        return *e;
    return QString::number(heights_[std::size_t(at)]) + QLatin1Char(' ');
}

std::optional<QString> HeightTableModel::editedText(int row, int col) const
{
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return std::nullopt;
    if (auto e = edited_.constFind(offset(row, col)); e != edited_.constEnd())
        return *e;
    return std::nullopt;
}

void HeightTableModel::restoreCell(int row, int col, const std::optional<QString>& text)
{
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return;
    if (text)
        edited_.insert(offset(row, col), *text);
    else
        edited_.remove(offset(row, col));
    const QModelIndex at = index(row, col);
    emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
    emit cellRestored(at);
}

std::vector<QString> HeightTableModel::cellTexts() const
{
    std::vector<QString> texts;
    texts.reserve(heights_.size());
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            texts.push_back(cellText(r, c));
    return texts;
}

QString HeightTableModel::rowLabel(int row) const
{
    return QString::number((rows_ - row) * METRES_PER_SRTM_GRID, 'f', 3);
}

QString HeightTableModel::columnLabel(int col) const
{
    return QString::number((col + 1) * METRES_PER_SRTM_GRID, 'f', 3);
}

std::vector<int> HeightTableModel::columnWidths(const QFont& cellFont, const QFont& headerFont,
                                                int cellPadding, int headerPadding) const
{
    const QFontMetrics cellMetrics(cellFont);
    const QFontMetrics headerMetrics(headerFont);
    // Heights repeat a lot, so each distinct text is measured only once.
    QHash<QString, int> measured;
    auto widthOf = [&](const QString& text) {
        auto it = measured.constFind(text);
        if (it == measured.constEnd())
            it = measured.insert(text, cellMetrics.horizontalAdvance(text));
        return *it;
    };

    std::vector<int> widths(std::size_t(cols_), 0);
    for (int c = 0; c < cols_; ++c)
        widths[std::size_t(c)] = headerMetrics.horizontalAdvance(columnLabel(c)) + headerPadding;
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)], widthOf(cellText(r, c)) + cellPadding);
    return widths;
}

int HeightTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int HeightTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant HeightTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return cellText(index.row(), index.column());
}

bool HeightTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= rows_ || index.column() >= cols_)
        return false;
    const int row = index.row();
    const int col = index.column();
    const QString text = value.toString();
    std::optional<QString> before = editedText(row, col);
    // Closing an editor without a change is no step to undo.
    if (before ? *before == text : text == cellText(row, col))
        return true;
    if (undoStack_) {
        undoStack_->push(new CellEditCommand(this, row, col, std::move(before), text));
    } else {
        edited_.insert(offset(row, col), text);
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
    return true;
}

QVariant HeightTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Horizontal)
        return section < cols_ ? QVariant(columnLabel(section)) : QVariant();
    return section < rows_ ? QVariant(rowLabel(section)) : QVariant();
}

Qt::ItemFlags HeightTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace qarn::forge
