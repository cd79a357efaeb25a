#include "ui/reports/report_table_model.h"

#include <algorithm>

namespace mirolat {

ReportTableModel::ReportTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportTableModel::SetReport(ReportModel report) {
  beginResetModel();
  report_ = std::move(report);
  endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(report_.Rows.size());
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(report_.Columns.size());
}

Qt::Alignment ReportTableModel::ToQtAlignment(ColumnAlignment alignment) {
  switch (alignment) {
    case ColumnAlignment::Centre:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlignment::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  switch (role) {
    case Qt::DisplayRole: {
      const QStringList& cells = report_.Rows[static_cast<std::size_t>(index.row())].Cells;
      return index.column() < cells.size() ? cells[index.column()] : QString();
    }
    case Qt::ToolTipRole: {
      const QString text = data(index, Qt::DisplayRole).toString();
      return text.isEmpty() || IsRule(text) ? QVariant() : QVariant(text);
    }
    case Qt::TextAlignmentRole:
      return static_cast<int>(ToQtAlignment(report_.Columns[static_cast<std::size_t>(index.column())].Alignment).toInt());
    default:
      return {};
  }
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const ReportColumn& column = report_.Columns[static_cast<std::size_t>(section)];
  switch (role) {
    case Qt::DisplayRole:
      return column.Title;
    case Qt::TextAlignmentRole:
      return static_cast<int>(ToQtAlignment(column.Alignment).toInt());
    default:
      return {};
  }
}

bool ReportTableModel::IsRule(const QString& cell) {
  return !cell.isEmpty() && std::all_of(cell.begin(), cell.end(), [](QChar c) { return c == QLatin1Char('-'); });
}

void ReportCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (ReportTableModel::IsRule(option->text)) option->textElideMode = Qt::ElideNone;
}

Qt::ItemFlags ReportTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace mirolat
