#include "ui/planning/frm_compare.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/common/errors.h"
#include "core/common/formatting.h"
#include "core/common/small_file.h"
#include "core/planning/log_figures.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"

namespace mirolat {

namespace {

// F1 in the Compare Plans window: the page on comparing plans.
constexpr int kCompareHelpTopic = 73;
constexpr qint64 kMaxPlanFileBytes = 4 * 1024 * 1024;

enum Column { colPlan, colTotal, colDifference, colDial, colTime, colData, colNotes, kColumns };

QDate ShownDate(Date d) { return d > 0 ? ToQDate(d) : QDate::currentDate(); }

// The locale's short date with the whole year, so that a typed year is never taken for another century's.
QString DateFormat() {
  QString format = QLocale().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1String("yyyy"))) format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  return format;
}

}  // namespace

frmCompare::frmCompare(CompareSetup setup, QWidget* parent) : QDialog(parent, Qt::Window), setup_(std::move(setup)) {
  setObjectName(QStringLiteral("frmCompare"));
  setWindowTitle(QStringLiteral("MRL Compare Plans"));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  InstallHelpKey(this, kCompareHelpTopic);
  auto* close = new QShortcut(QKeySequence::Close, this);
  connect(close, &QShortcut::activated, this, &QDialog::reject);
  resize(sizeHint().expandedTo(QSize(780, 420)));
}

frmCompare::~frmCompare() { StopWorker(); }

void frmCompare::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* range = new QHBoxLayout;
  auto dateEdit = [this](const char* name, Date day) {
    auto* edit = new QDateEdit(ShownDate(day), this);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(DateFormat());
    return edit;
  };
  dtpFrom = dateEdit("dtpFrom", setup_.First);
  dtpTo = dateEdit("dtpTo", setup_.Last);
  auto* lblFrom = new QLabel(QStringLiteral("&From:"), this);
  lblFrom->setBuddy(dtpFrom);
  auto* lblTo = new QLabel(QStringLiteral("&To:"), this);
  lblTo->setBuddy(dtpTo);
  cmdCompare = new QPushButton(QIcon::fromTheme(QStringLiteral("view-refresh")), QStringLiteral("&Compare"), this);
  cmdCompare->setObjectName(QStringLiteral("cmdCompare"));
  cmdCompare->setDefault(true);
  cmdLoadPlan = new QPushButton(QIcon::fromTheme(QStringLiteral("document-open")),
                                QStringLiteral("&Load Candidate Plan…"), this);
  cmdLoadPlan->setObjectName(QStringLiteral("cmdLoadPlan"));
  for (QWidget* w : std::initializer_list<QWidget*>{lblFrom, dtpFrom, lblTo, dtpTo, cmdCompare}) range->addWidget(w);
  range->addStretch();
  range->addWidget(cmdLoadPlan);
  layout->addLayout(range);

  grdPlans = new QTableWidget(0, kColumns, this);
  grdPlans->setObjectName(QStringLiteral("grdPlans"));
  grdPlans->setHorizontalHeaderLabels({QStringLiteral("Plan"), QStringLiteral("Total"), QStringLiteral("Difference"),
                                       QStringLiteral("Dial-up"), QStringLiteral("Time"), QStringLiteral("Data"),
                                       QStringLiteral("Notes")});
  grdPlans->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdPlans->setSelectionBehavior(QAbstractItemView::SelectRows);
  grdPlans->horizontalHeader()->setStretchLastSection(true);
  grdPlans->setToolTip(QStringLiteral("Plans ranked by what the range would have cost; the row number is the rank"));
  layout->addWidget(grdPlans, 1);

  lblSummary = new QLabel(QStringLiteral("Choose the range and press Compare."), this);
  lblSummary->setObjectName(QStringLiteral("lblSummary"));
  lblSummary->setWordWrap(true);
  layout->addWidget(lblSummary);

  auto* bottom = new QHBoxLayout;
  prgCompare = new QProgressBar(this);
  prgCompare->setObjectName(QStringLiteral("prgCompare"));
  prgCompare->setRange(0, 100);
  cmdCancel = new QPushButton(QIcon::fromTheme(QStringLiteral("process-stop")), QStringLiteral("C&ancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdClose = new QPushButton(QIcon::fromTheme(QStringLiteral("window-close")), QStringLiteral("Close"), this);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  bottom->addWidget(prgCompare, 1);
  bottom->addWidget(cmdCancel);
  bottom->addStretch();
  bottom->addWidget(cmdClose);
  layout->addLayout(bottom);
  SetRunning(false);

  connect(cmdCompare, &QPushButton::clicked, this, &frmCompare::cmdCompare_Click);
  connect(cmdLoadPlan, &QPushButton::clicked, this, &frmCompare::cmdLoadPlan_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmCompare::Cancel);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmCompare::SetRunning(bool running) {
  prgCompare->setVisible(running);
  cmdCancel->setVisible(running);
  cmdCompare->setEnabled(!running);
  cmdLoadPlan->setEnabled(!running);
  dtpFrom->setEnabled(!running);
  dtpTo->setEnabled(!running);
  if (running) prgCompare->setValue(0);
}

void frmCompare::cmdCompare_Click() {
  if (Busy()) return;
  const Date first = FromQDate(dtpFrom->date());
  const Date last = FromQDate(dtpTo->date());
  if (last < first) {
    lblSummary->setText(QStringLiteral("The last day is before the first: choose a range."));
    return;
  }
  SetRunning(true);
  lblSummary->setText(QStringLiteral("Analysing the log…"));
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  std::vector<PlanToPrice> plans = ConfiguredPlans(setup_.Config);
  plans.insert(plans.end(), candidates_.begin(), candidates_.end());
  // The worker owns copies of everything it reads.
  worker_ = QThread::create([this, config = ConfigurationForComparison(setup_.Config), locale = setup_.Locale,
                             log = setup_.LogPath, first, last, plans = std::move(plans), cancel = cancel_] {
    const std::optional<ReportFigures> figures = FiguresOfLog(config, locale, log, first, last);
    auto result = std::make_shared<PlanComparison>();
    if (figures && !cancel->load()) {
      CompareControl control;
      control.cancel = cancel.get();
      control.percent = [this](int percent) {
        QMetaObject::invokeMethod(this, [this, percent] { prgCompare->setValue(percent); }, Qt::QueuedConnection);
      };
      *result = ComparePlans(config, locale, *figures, plans, control);
    } else if (figures) {
      result->Cancelled = true;
    }
    const bool noFigures = !figures.has_value();
    QMetaObject::invokeMethod(this, [this, result, noFigures] { Finished(result, noFigures); }, Qt::QueuedConnection);
  });
  worker_->start();
}

void frmCompare::Cancel() {
  if (cancel_) cancel_->store(true);
}

void frmCompare::StopWorker() {
  if (!worker_) return;
  Cancel();
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
}

void frmCompare::reject() {
  StopWorker();
  QDialog::reject();
}

void frmCompare::Finished(std::shared_ptr<PlanComparison> result, bool noFigures) {
  StopWorker();
  SetRunning(false);
  if (noFigures) {
    lblSummary->setText(QStringLiteral("The log could not be analysed over this range (no log, a corrupt line, or too "
                                       "many services or sessions). Check it with OK in the main window."));
  } else if (result->Cancelled) {
    lblSummary->setText(QStringLiteral("Cancelled: nothing was compared."));
  } else {
    result_ = std::move(*result);
    ShowResult();
  }
  Q_EMIT ComparisonFinished();
}

void frmCompare::ShowResult() {
  const LocaleValues& locale = setup_.Locale;
  auto money = [&](double v) { return FormatMoney(v, locale.CurrencyDigits, locale); };
  grdPlans->setRowCount(int(result_.Plans.size()));
  int row = 0;
  for (const PlanPrice& plan : result_.Plans) {
    QStringList notes;
    if (plan.ConfiguredService < 0) notes << QStringLiteral("candidate");
    if (plan.IncompleteTariffs) notes << QStringLiteral("incomplete tariffs: part of a session not covered");
    const double difference = plan.Difference();
    const QString differenceText =
        (difference > 0 && money(difference) != money(0) ? QStringLiteral("+") : QString()) + money(difference);
    const QString cells[kColumns] = {plan.Name,          money(plan.Total),    differenceText,
                                     money(plan.DialCost), money(plan.TimeCost), money(plan.DataCost),
                                     notes.join(QStringLiteral("; "))};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c != colPlan && c != colNotes) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      grdPlans->setItem(row, c, item);
    }
    ++row;
  }
  grdPlans->resizeColumnsToContents();
  QString text = QStringLiteral("%1 %2 dialled to configured services cost %3.")
                     .arg(result_.SessionsCounted)
                     .arg(result_.SessionsCounted == 1 ? QStringLiteral("session") : QStringLiteral("sessions"))
                     .arg(money(result_.Actual));
  if (result_.AnsweredLeftOut + result_.UnknownLeftOut > 0) {
    text += QStringLiteral(" Left out, as no plan's: %1 answered, %2 to numbers no service has.")
                .arg(result_.AnsweredLeftOut)
                .arg(result_.UnknownLeftOut);
  }
  lblSummary->setText(text);
}

void frmCompare::cmdLoadPlan_Click() {
  const QString file = FileDialog::GetOpenFileName(
      this, QStringLiteral("Load Candidate Plan"),
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
      QStringLiteral("Plan files (*.json);;All files (*)"));
  if (file.isEmpty()) return;
  PlanToPrice plan;
  QString error;
  try {
    if (!CandidatePlanFromJson(ReadSmallRegularFile(file, kMaxPlanFileBytes), plan, error)) {
      error = QDir::toNativeSeparators(file) + QStringLiteral(": ") + error;
    }
  } catch (const RunError& e) {
    error = e.description();
  }
  if (!error.isEmpty()) {
    MessageBox::Show(QStringLiteral("This file holds no plan to compare.\n\n") + error, MessageButtons::Ok,
                     MessageIcon::Exclamation, QString(), this);
    return;
  }
  candidates_.push_back(std::move(plan));
  cmdCompare_Click();
}

}  // namespace mirolat
