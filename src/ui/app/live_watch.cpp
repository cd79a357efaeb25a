#include "ui/app/live_watch.h"

#include <QDateTime>
#include <QTimer>

#include "core/app/app_state.h"
#include "core/planning/budget_alerts.h"
#include "core/planning/live_session.h"
#include "core/planning/log_figures.h"
#include "core/settings/alert_options.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/main/frm_main.h"
#include "ui/tray/notifier.h"
#include "ui/tray/tray_icon.h"

namespace mirolat {
namespace {

constexpr int kRefreshWhileConnectedMs = 30 * 1000;

}  // namespace

LiveWatch::LiveWatch(AppState& state, frmMain& main, QObject* parent)
    : QObject(parent), state_(state), main_(&main), now_([] { return QDateTime::currentDateTime(); }) {
  timer_ = new QTimer(this);
  timer_->setInterval(kRefreshWhileConnectedMs);
  connect(timer_, &QTimer::timeout, this, &LiveWatch::RefreshTray);
  connect(&main, &frmMain::CurrentLogChanged, this, &LiveWatch::LogChanged);
}

LiveWatch::~LiveWatch() = default;

void LiveWatch::SetClock(std::function<QDateTime()> now) { now_ = std::move(now); }

void LiveWatch::ApplyOptions() {
  AlertOptions options;
  if (state_.Store) RunStep(SharedErrorReporter(), [&] { options = ReadAlertOptions(*state_.Store); });
  alertsOn_ = options.ShowBudgetAlerts;
  if (options.ShowTrayIcon && tray_ == nullptr) {
    tray_ = new TrayIcon(main_);
    connect(tray_, &TrayIcon::OpenRequested, this, [this] {
      if (main_.isNull()) return;
      main_->showNormal();
      main_->raise();
      main_->activateWindow();
    });
    connect(tray_, &TrayIcon::TodaysReportRequested, this, [this] {
      if (!main_.isNull()) main_->RunTodaysReport();
    });
    connect(tray_, &TrayIcon::QuitRequested, this, [this] {
      if (!main_.isNull()) main_->QuitProgram();
    });
    tray_->SetShown(true);
    RefreshTray();
  } else if (!options.ShowTrayIcon && tray_ != nullptr) {
    timer_->stop();
    delete tray_;
    tray_ = nullptr;
  }
}

void LiveWatch::LogChanged() {
  CheckAlerts();
  RefreshTray();
}

// The budgets' standing today against what was given: each new notice goes
// out once, and what was given is kept at once.
void LiveWatch::CheckAlerts() {
  if (!alertsOn_ || !state_.Store || state_.File.ArchiveOpen || !state_.File.LogExists) return;
  const Configuration& config = state_.Config;
  if (!config.OverallBudget.HasLimit() &&
      std::none_of(config.Services.begin(), config.Services.begin() + std::min<int>(config.UsedServices, int(config.Services.size())),
                   [](const Service& s) { return s.Budget.HasLimit(); })) {
    return;
  }
  const QString log = state_.File.LogFilePath;
  const FiguresOfRange figures = [&](Date first, Date last) {
    return FiguresOfLog(config, state_.Locale, log, first, last);
  };
  const std::vector<BudgetStatus> statuses = BudgetStatuses(config, FromQDate(now_().date()), figures);
  SettingsStore& store = *state_.Store;
  QStringList given;
  if (!RunStep(SharedErrorReporter(), [&] { given = ReadGivenAlerts(store); })) return;
  const AlertCheck check = CheckBudgetAlerts(statuses, given, state_.Locale);
  if (check.Given != given) RunStep(SharedErrorReporter(), [&] { WriteGivenAlerts(store, check.Given); });
  for (const BudgetAlert& alert : check.New) {
    Notifier::Show({alert.Title, alert.Text, alert.Kind == AlertKind::Over}, tray_ ? tray_->Icon() : nullptr);
  }
}

void LiveWatch::RefreshTray() {
  if (tray_ == nullptr) return;
  const QDateTime now = now_();
  std::optional<LiveStatus> status;
  if (!state_.File.ArchiveOpen && state_.File.LogExists) {
    status = LiveStatusOfFile(state_.Config, state_.Locale, state_.File.LogFilePath, FromQDate(now.date()),
                              TimeOfDay(now.time().msecsSinceStartOfDay() / 1000));
  }
  if (!status) {
    tray_->SetStatus({QStringLiteral("No modem log")}, false);
    timer_->stop();
    return;
  }
  const bool connected = status->Session.has_value();
  tray_->SetStatus(LiveStatusLines(*status, state_.Locale, state_.Config.CalcCosts), connected);
  if (connected && !timer_->isActive()) timer_->start();
  if (!connected) timer_->stop();
}

}  // namespace mirolat
