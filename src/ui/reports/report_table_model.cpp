#include "ui/reports/report_table_model.h"

#include <algorithm>
#include <utility>

namespace mirolat {

ReportTableModel::ReportTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportTableModel::SetReport(ReportModel report, std::vector<int> rowSessions,
                                 std::function<QString(int session)> explain) {
  beginResetModel();
  report_ = std::move(report);
  rowSessions_ = std::move(rowSessions);
  explain_ = std::move(explain);
  order_ = SortedRowOrder(report_, sortColumn_, sortOrder_ == Qt::DescendingOrder);
  endResetModel();
}

void ReportTableModel::sort(int column, Qt::SortOrder order) {
  sortColumn_ = column;
  sortOrder_ = order;
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> shownAt(order_.size());  // report row -> shown row, after sorting
  const std::vector<int> before = std::exchange(order_, SortedRowOrder(report_, column, order == Qt::DescendingOrder));
  for (std::size_t i = 0; i < order_.size(); ++i) shownAt[static_cast<std::size_t>(order_[i])] = static_cast<int>(i);
  // The current and selected rows stay with their entries.
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& i : from) {
    to << index(shownAt[static_cast<std::size_t>(before[static_cast<std::size_t>(i.row())])], i.column());
  }
  changePersistentIndexList(from, to);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
      const QStringList& cells = RowAt(index.row()).Cells;
      return index.column() < cells.size() ? cells[index.column()] : QString();
    }
    case Qt::ToolTipRole: {
      QString text = data(index, Qt::DisplayRole).toString();
      if (IsRule(text)) text.clear();
      // The whole text of a cut cell, then why the session cost what it did.
      const auto row = static_cast<std::size_t>(order_[static_cast<std::size_t>(index.row())]);
      const QString why = explain_ && row < rowSessions_.size() && rowSessions_[row] >= 0 ? explain_(rowSessions_[row]) : QString();
      if (!why.isEmpty()) text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + why;
      return text.isEmpty() ? QVariant() : QVariant(text);
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
