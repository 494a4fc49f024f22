#include "store/FlexGrid.h"

#include "core/Twips.h"

#include <QHeaderView>
#include <QProxyStyle>
#include <QMouseEvent>
#include <algorithm>

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return frozen_ ? frozenRows_ : static_cast<int>(cells.size()) - 1;
}

void FlexGridModel::Freeze() {
    if (frozen_) return;
    frozenRows_ = rowCount();
    frozen_ = true;
}

void FlexGridModel::Thaw() {
    if (!frozen_) return;
    beginResetModel();
    frozen_ = false;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, kCols - 1);
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kCols;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto row = static_cast<size_t>(index.row()) + 1;
    if (row >= cells.size()) return {};
    return cells[row][static_cast<size_t>(index.column())];
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kCols || cells.empty())
        return {};
    if (role == Qt::DisplayRole) return cells[0][static_cast<size_t>(section)];
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void FlexGridModel::CellChanged(int row, int col) {
    if (frozen_) return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

void FlexGridModel::BeginAppend(int count) {
    if (frozen_) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + count - 1);
}
void FlexGridModel::EndAppend() {
    if (!frozen_) endInsertRows();
}

void FlexGridModel::BeginRemove(int first, int last) {
    if (!frozen_) beginRemoveRows({}, first - 1, last - 1);
}

void FlexGridModel::EndRemove() {
    if (!frozen_) endRemoveRows();
}

void FlexGridModel::Reset(const std::vector<Line>& replacement) {
    if (frozen_) {
        cells = replacement;
        return;
    }
    beginResetModel();
    cells = replacement;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, kCols - 1);
}

void FlexGridModel::Sorted() {
    if (frozen_) return;
    emit layoutAboutToBeChanged();
    emit layoutChanged();
}

namespace {
// The header row is as low as a schedule row: its captions get the whole
// height, without the margins the style would keep around them.
class HeaderStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_HeaderMargin) return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};
} // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent) {
    model_.cells.resize(2);
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    const int rowPx = Twips::ToPxY(225);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowPx);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFixedHeight(rowPx);
    auto* headerStyle = new HeaderStyle;
    headerStyle->setParent(horizontalHeader());
    horizontalHeader()->setStyle(headerStyle);
    horizontalHeader()->setMinimumSectionSize(0);
    SetColWidthTw(0, 0);
}

int FlexGrid::Rows() const {
    return static_cast<int>(model_.cells.size());
}

void FlexGrid::SetRows(int rows) {
    rows = std::max(rows, 1);
    const int now = Rows();
    if (rows > now) {
        model_.BeginAppend(rows - now);
        model_.cells.resize(static_cast<size_t>(rows));
        model_.EndAppend();
    } else if (rows < now) {
        model_.BeginRemove(rows, now - 1);
        model_.cells.resize(static_cast<size_t>(rows));
        model_.EndRemove();
    }
    if (row_ >= rows) SetRow(rows - 1);
}

QString FlexGrid::TextMatrix(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return {};
    return model_.cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void FlexGrid::SetTextMatrix(int row, int col, const QString& text) {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols()) return;
    model_.cells[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    model_.CellChanged(row, col);
}

void FlexGrid::SetRow(int row) {
    row_ = std::clamp(row, 0, Rows() - 1);
    ShowCursor();
}

void FlexGrid::SetCol(int col) {
    col_ = std::clamp(col, 0, Cols() - 1);
    colSel_ = col_;
    ShowCursor();
}

void FlexGrid::SetColSel(int col) {
    colSel_ = std::clamp(col, 0, Cols() - 1);
}

void FlexGrid::AddItem(const QString& fields) {
    FlexGridModel::Line line;
    qsizetype start = 0;
    for (int c = 0; c < Cols(); ++c) {
        const qsizetype tab = c + 1 < Cols() ? fields.indexOf(QLatin1Char('\t'), start) : -1;
        line[static_cast<size_t>(c)] = fields.mid(start, tab < 0 ? -1 : tab - start);
        if (tab < 0) break;
        start = tab + 1;
    }
    Append(std::move(line));
}

void FlexGrid::AddRow(const QString& key, const QString& text) {
    Append({QString(), key, text});
}

void FlexGrid::ReserveRows(int rows) {
    model_.cells.reserve(static_cast<size_t>(rows));
}

void FlexGrid::Append(FlexGridModel::Line line) {
    model_.BeginAppend(1);
    model_.cells.push_back(std::move(line));
    model_.EndAppend();
}

void FlexGrid::RemoveItem(int row) {
    if (row < 1 || row >= Rows()) return;
    model_.BeginRemove(row, row);
    model_.cells.erase(model_.cells.begin() + row);
    model_.EndRemove();
    if (row_ >= Rows()) SetRow(Rows() - 1);
    ShowCursor();
}

void FlexGrid::Clear() {
    std::vector<FlexGridModel::Line> blank(model_.cells.size());
    model_.Reset(blank);
    ShowCursor();
}

void FlexGrid::SortByKey() {
    if (Rows() <= 2) return;
    const auto byKey = [](const FlexGridModel::Line& a, const FlexGridModel::Line& b) {
        return a[1] < b[1];
    };
    // The rows are nearly always in order already: one pass tells.
    if (std::is_sorted(model_.cells.begin() + 1, model_.cells.end(), byKey)) return;
    std::stable_sort(model_.cells.begin() + 1, model_.cells.end(), byKey);
    model_.Sorted();
}

void FlexGrid::SetRedraw(bool on) {
    redraw_ = on;
    if (on) {
        model_.Thaw();
        ShowCursor();
    } else {
        model_.Freeze();
    }
    setUpdatesEnabled(on);
}

void FlexGrid::SetHighlighted(bool on) {
    highlighted_ = on;
    ShowCursor();
}

double FlexGrid::RowHeightTw(int row) const {
    const int px = row == 0 ? horizontalHeader()->height() : verticalHeader()->defaultSectionSize();
    return Twips::FromPxY(px);
}

double FlexGrid::ColWidthTw(int col) const {
    return col >= 0 && col < Cols() ? colWidthTw_[static_cast<size_t>(col)] : 0;
}

void FlexGrid::SetColWidthTw(int col, double twips) {
    if (col < 0 || col >= Cols()) return;
    colWidthTw_[static_cast<size_t>(col)] = twips;
    setColumnWidth(col, Twips::ToPxX(twips));
    if (col == 0) setColumnHidden(0, twips <= 0);
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        row_ = at.row() + 1;
        col_ = colSel_ = at.column();
    }
    emit MouseUp();
}

void FlexGrid::ShowCursor() {
    if (!redraw_) return;
    clearSelection();
    if (highlighted_ && row_ >= 1 && col_ >= 1) {
        selectionModel()->select(model_.index(row_ - 1, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}
