// The floor the real program is measured against: a bare Qt Widgets program
// that reads the same schedule file and shows it in one table, nothing else.
// Run: bench/floor PATH/velsokura.txt

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QStringDecoder>
#include <QTableView>
#include <utility>
#include <vector>

namespace {

class Rows : public QAbstractTableModel {
  public:
    std::vector<std::pair<QString, QString>> rows;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const auto& row = rows[static_cast<size_t>(index.row())];
        return index.column() == 0 ? row.first : row.second;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Rows model;
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("velsokura.txt"));
    if (file.open(QIODevice::ReadOnly)) {
        QStringDecoder decoder("windows-31j");
        // Qt for Windows has no such table: the system's, code page 932 on a Japanese system.
        if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::System);
        const QString text = decoder.decode(file.readAll());
        const QString separator = QStringLiteral("#:;*$=\\#:\\*;");
        for (const QStringView line : QStringView(text).split(QStringLiteral("\r\n"))) {
            const qsizetype at = line.indexOf(separator);
            if (at >= 0)
                model.rows.emplace_back(line.left(at).toString(),
                                        line.mid(at + separator.size()).toString());
        }
    }
    QTableView view;
    view.setModel(&model);
    view.resize(700, 450);
    view.show();
    return QApplication::exec();
}
