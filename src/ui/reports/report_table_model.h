#pragma once
// The report list as a table model over a built report's rows: column 0 is
// the list's untitled first column, the others the report's columns with
// their titles and alignments. One model for both reports, reset whenever a
// report is built, so a Details report of tens of thousands of sessions
// costs no widget per cell.
#include <QAbstractTableModel>

#include "core/reports/report_model.h"

namespace mirolat {

class ReportTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ReportTableModel(QObject* parent = nullptr);

  // Shows `report` (columns, rows), replacing what was shown.
  void SetReport(ReportModel report);
  const ReportModel& Report() const { return report_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  static Qt::Alignment ToQtAlignment(ColumnAlignment alignment);

 private:
  ReportModel report_;
};

}  // namespace mirolat
