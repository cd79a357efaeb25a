#pragma once
// The Charts window: the report range of the last analysis run drawn four
// ways (time and cost per day, week or month; each number's share; connected
// time per hour of the week; the cost summed over the range), with the exact
// figures in tooltips, in the desktop's light or dark colours, and saved as a
// PNG or SVG picture.
#include <QMainWindow>
#include <vector>

#include "core/reports/report_figures.h"
#include "render/report_charts.h"

class QAction;
class QActionGroup;
class QChartView;
class QComboBox;
class QLabel;
class QTabBar;
class QVBoxLayout;

namespace mirolat {

struct AppState;

class frmCharts : public QMainWindow {
  Q_OBJECT
 public:
  // Reads the configuration, locale, report range and last run of `state`
  // each time ShowCharts builds the figures.
  explicit frmCharts(AppState& state, QWidget* parent = nullptr);
  ~frmCharts() override;

  // Builds the figures of the last run over the report range, draws the
  // chart shown and brings the window (modeless) to the front.
  void ShowCharts();

  ChartKind Kind() const { return kind_; }
  void SetKind(ChartKind kind);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  void BuildCommands();
  // The charts of the kind, period and palette chosen, drawn anew.
  void Redraw();
  ChartOptions Options() const;
  // The window's palette is a dark one: the charts follow it.
  bool DarkDesktop() const;
  void mnuSaveAs_Click();

  AppState& state_;
  ReportFigures figures_;
  ChartKind kind_ = ChartKind::Daily;

  // Controls, under the window's own names.
  QTabBar* tabKinds = nullptr;
  QLabel* lblPeriod = nullptr;
  QComboBox* cboPeriod = nullptr;
  QWidget* fraCharts = nullptr;
  QVBoxLayout* chartsLayout_ = nullptr;
  std::vector<QChartView*> views_;  // ChartView1, ChartView2
  QAction* mnuSaveAs = nullptr;
  QAction* mnuClose = nullptr;
  QActionGroup* kindGroup_ = nullptr;
  std::vector<QAction*> kindItems_;  // in the order of ChartKind
};

}  // namespace mirolat
