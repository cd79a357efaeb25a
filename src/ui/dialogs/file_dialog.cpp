#include "ui/dialogs/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <deque>
#include <optional>

#include "ui/dialogs/message_box.h"
#include "ui/dialogs/unattended.h"

namespace mirolat {

namespace {

struct FileDialogState {
  std::deque<QString> nextNames;
  QList<FileDialogRequest> requests;
};

FileDialogState& State() {
  static FileDialogState state;
  return state;
}

// A scripted name, or nothing when the dialog must really be shown.
std::optional<QString> Scripted(const FileDialogRequest& request) {
  FileDialogState& state = State();
  state.requests.append(request);
  if (!state.nextNames.empty()) {
    QString name = state.nextNames.front();
    state.nextNames.pop_front();
    return name;
  }
  if (Unattended()) return QString();
  return std::nullopt;
}

}  // namespace

QString FileDialog::GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter) {
  if (auto name = Scripted({FileDialogRequest::Open, caption, directory, filter})) return *name;
  return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString FileDialog::GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter) {
  if (auto name = Scripted({FileDialogRequest::Save, caption, directory, filter})) return *name;
  return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

QString FileDialog::GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& filter, const QString& defaultSuffix) {
  QString start = directory;
  for (;;) {
    QString name;
    if (auto scripted = Scripted({FileDialogRequest::Save, caption, start, filter})) {
      name = *scripted;
    } else {
      name = QFileDialog::getSaveFileName(parent, caption, start, filter, nullptr, QFileDialog::DontConfirmOverwrite);
    }
    if (name.isEmpty()) return {};
    if (QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + defaultSuffix;
    if (!QFileInfo::exists(name)) return name;
    MessageBoxSpec replace;
    replace.title = caption;
    replace.text = QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(name).fileName());
    replace.buttons = MessageButtons::YesNo;
    replace.icon = MessageIcon::Exclamation;
    if (MessageBox::Show(replace, parent, MessageButton::No) == MessageButton::Yes) return name;
    start = name;
  }
}

void FileDialog::setNextFileName(const QString& fileName) { State().nextNames.push_back(fileName); }
void FileDialog::clearNextFileNames() { State().nextNames.clear(); }
int FileDialog::pendingFileNames() { return static_cast<int>(State().nextNames.size()); }
const QList<FileDialogRequest>& FileDialog::requests() { return State().requests; }
void FileDialog::clearRequests() { State().requests.clear(); }

}  // namespace mirolat
