#include "ui/common/end_program.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <array>

namespace mirolat {

namespace {

constexpr int kRoleCount = static_cast<int>(WindowRole::Main) + 1;

struct Registry {
  std::array<QList<QPointer<QWidget>>, kRoleCount> windows;
  std::function<void()> exitHandler;
  bool ending = false;
};

Registry& State() {
  static Registry registry;
  return registry;
}

void Prune(QList<QPointer<QWidget>>& list) {
  list.removeIf([](const QPointer<QWidget>& w) { return w.isNull(); });
}

}  // namespace

void RegisterWindow(WindowRole role, QWidget* window) {
  if (window == nullptr) return;
  auto& list = State().windows[static_cast<int>(role)];
  Prune(list);
  for (const auto& w : list) {
    if (w == window) return;
  }
  list.append(QPointer<QWidget>(window));
}

void UnregisterWindow(QWidget* window) {
  for (auto& list : State().windows) {
    list.removeIf([window](const QPointer<QWidget>& w) { return w.isNull() || w == window; });
  }
}

QList<QWidget*> RegisteredWindows(WindowRole role) {
  auto& list = State().windows[static_cast<int>(role)];
  Prune(list);
  QList<QWidget*> result;
  for (const auto& w : list) result.append(w.data());
  return result;
}

void EndProgram() {
  Registry& state = State();
  state.ending = true;
  for (auto& list : state.windows) {
    const QList<QPointer<QWidget>> windows = list;
    list.clear();
    for (const QPointer<QWidget>& w : windows) {
      if (w.isNull()) continue;
      w->close();
      // Deleted later: EndProgram may run inside one of these windows' handlers.
      if (!w.isNull()) w->deleteLater();
    }
  }
  if (state.exitHandler) {
    state.exitHandler();
  } else {
    QApplication::exit(0);
  }
}

bool ProgramEnding() { return State().ending; }

void SetProgramExitHandler(std::function<void()> handler) { State().exitHandler = std::move(handler); }
void ResetProgramEnding() { State().ending = false; }

}  // namespace mirolat
