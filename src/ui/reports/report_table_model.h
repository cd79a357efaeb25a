#pragma once
// The report list as a table model over a built report's rows: column 0 is
// the list's untitled first column, the others the report's columns with
// their titles and alignments. One model for both reports, reset whenever a
// report is built, so a Details report of tens of thousands of sessions
// costs no widget per cell. Sorted by a column (SortedRowOrder), it keeps
// that order for the next report built until it is sorted again. A Details
// session's rows add the explanation of its cost to their tooltips.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <functional>

#include "core/reports/report_model.h"

namespace mirolat {

class ReportTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ReportTableModel(QObject* parent = nullptr);

  // Shows `report` (columns, rows), replacing what was shown. `rowSessions`
  // gives each row's session (-1: none), for `explain` to tell its cost.
  void SetReport(ReportModel report, std::vector<int> rowSessions = {},
                 std::function<QString(int session)> explain = {});
  const ReportModel& Report() const { return report_; }
  // The rows as shown (indexes into Report().Rows), in their shown order.
  const std::vector<int>& ShownOrder() const { return order_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Column -1 is the report's own order.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  static Qt::Alignment ToQtAlignment(ColumnAlignment alignment);
  // A cell of the rule above the totals: dashes only.
  static bool IsRule(const QString& cell);

 private:
  const ReportRow& RowAt(int row) const { return report_.Rows[static_cast<std::size_t>(order_[static_cast<std::size_t>(row)])]; }

  ReportModel report_;
  std::vector<int> rowSessions_;
  std::function<QString(int)> explain_;
  std::vector<int> order_;  // shown row -> report row
  int sortColumn_ = -1;
  Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// Draws the list's cells: a cell too narrow for its text shows it cut with an
// ellipsis (its tooltip holds the whole text), while the rule's dashes are
// simply cut at the column's edge.
class ReportCellDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace mirolat
