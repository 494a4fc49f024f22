#pragma once
// The schedule grid: row 0 is the fixed header row (shown as the view's
// header), column 0 is a fixed column of width 0, and a cursor Row / Col where
// row 0, column 0 means that nothing is selected.

#include <QAbstractTableModel>
#include <QTableView>
#include <array>
#include <vector>

class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kCols = 3;
    using Line = std::array<QString, kCols>;

    std::vector<Line> cells; // cells[0] is the header row

    // While frozen the view is told nothing and sees the rows it last knew;
    // thawing tells it everything at once.
    void Freeze();
    void Thaw();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Change notifications for the view.
    void CellChanged(int row, int col);
    void BeginAppend(int count);
    void EndAppend();
    void BeginRemove(int first, int last);
    void EndRemove();
    void Reset(const std::vector<Line>& replacement);
    void Sorted();

  private:
    bool frozen_ = false;
    int frozenRows_ = 0;
};

class FlexGrid : public QTableView {
    Q_OBJECT
  public:
    explicit FlexGrid(QWidget* parent = nullptr);

    int Rows() const;
    void SetRows(int rows);
    int Cols() const { return FlexGridModel::kCols; }

    // Out-of-range cells read as empty and ignore writes.
    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);

    int Row() const { return row_; }
    int Col() const { return col_; }
    int ColSel() const { return colSel_; }
    void SetRow(int row);
    void SetCol(int col);
    void SetColSel(int col);
    // The text of the cell under the cursor.
    QString Text() const { return TextMatrix(row_, col_); }

    // Appends a row from tab-separated fields; the last column takes the rest,
    // tabs and all, so a schedule text is never cut.
    void AddItem(const QString& fields);
    // Appends a schedule row, with no fields to join and split again.
    void AddRow(const QString& key, const QString& text);
    // Room for that many rows in all, made at once ahead of adding them.
    void ReserveRows(int rows);
    void RemoveItem(int row);
    // Empties every cell, the header row included; the row count stays.
    void Clear();
    // Sorts the data rows ascending by column 1 as text.
    void SortByKey();

    void SetRedraw(bool on);
    // Whether the cursor's row is drawn selected.
    void SetHighlighted(bool on);

    double RowHeightTw(int row) const;
    double ColWidthTw(int col) const;
    void SetColWidthTw(int col, double twips);

  signals:
    // The mouse button was released over the grid.
    void MouseUp();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void ShowCursor();
    void Append(FlexGridModel::Line line);

    FlexGridModel model_;
    int row_ = 0;
    int col_ = 0;
    int colSel_ = 0;
    bool redraw_ = true;
    bool highlighted_ = false;
    std::array<double, FlexGridModel::kCols> colWidthTw_{};
};
