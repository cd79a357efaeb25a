#include "ui/dialogs/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <deque>
#include <optional>

#include "ui/dialogs/message_box.h"
#include "ui/dialogs/unattended.h"

namespace mirolat {

namespace {

struct FileDialogState {
  std::deque<std::pair<QString, QString>> nextNames;  // a name and the kind chosen with it
  QList<FileDialogRequest> requests;
};

FileDialogState& State() {
  static FileDialogState state;
  return state;
}

// A scripted name, or nothing when the dialog must really be shown.
std::optional<QString> Scripted(const FileDialogRequest& request, QString* filter = nullptr) {
  FileDialogState& state = State();
  state.requests.append(request);
  if (!state.nextNames.empty()) {
    auto [name, chosen] = state.nextNames.front();
    state.nextNames.pop_front();
    if (filter != nullptr && !chosen.isEmpty()) *filter = chosen;
    return name;
  }
  if (Unattended()) return QString();
  return std::nullopt;
}

// Asks before `name` replaces an existing file; true when it may be written.
bool MayReplace(QWidget* parent, const QString& caption, const QString& name) {
  if (!QFileInfo::exists(name)) return true;
  MessageBoxSpec replace;
  replace.title = caption;
  replace.text = QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(name).fileName());
  replace.buttons = MessageButtons::YesNo;
  replace.icon = MessageIcon::Exclamation;
  return MessageBox::Show(replace, parent, MessageButton::No) == MessageButton::Yes;
}

// The offered filter one of whose extensions the name ends in (the selected
// one first: two kinds may share an extension), or an empty text.
QString FilterOfName(const QStringList& filters, const QString& name, const QString& selected) {
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (suffix.isEmpty()) return {};
  if (FileDialog::FilterExtensions(selected).contains(suffix)) return selected;
  for (const QString& filter : filters) {
    if (FileDialog::FilterExtensions(filter).contains(suffix)) return filter;
  }
  return {};
}

// The save dialog itself, the name's extension and the kind following each other.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& start, const QStringList& filters,
                        QString* selectedFilter) {
  // A start naming a file opens its folder with its name selected.
  QFileDialog dialog(parent, caption, start);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(*selectedFilter);
  if (auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    // Choosing a kind changes the name's extension (the dialog does that
    // itself in save mode); typing an extension of another kind selects it.
    QObject::connect(edit, &QLineEdit::textEdited, &dialog, [&dialog, &filters](const QString& text) {
      const QString filter = FilterOfName(filters, text, dialog.selectedNameFilter());
      const QStringList extensions = FileDialog::FilterExtensions(filter);
      if (!filter.isEmpty() && filter != dialog.selectedNameFilter() &&
          QFileInfo(text).suffix().toLower() == extensions.value(0)) {
        dialog.selectNameFilter(filter);
      }
    });
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  *selectedFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles().constFirst();
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
    if (MayReplace(parent, caption, name)) return name;
    start = name;
  }
}

QString FileDialog::GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QStringList& filters, QString* selectedFilter) {
  QString start = directory;
  for (;;) {
    QString name;
    if (auto scripted = Scripted({FileDialogRequest::Save, caption, start, filters.join(QStringLiteral(";;"))}, selectedFilter)) {
      name = *scripted;
    } else {
      name = AskSaveFileName(parent, caption, start, filters, selectedFilter);
    }
    if (name.isEmpty()) return {};
    // The dialog asked about replacing the name it returned; a name it never
    // saw, the returned one with an extension added, is asked about here.
    const QString named = FilterOfName(filters, name, *selectedFilter);
    const QStringList extensions = FilterExtensions(*selectedFilter);
    if (!named.isEmpty()) {
      *selectedFilter = named;
      return name;
    }
    if (extensions.isEmpty()) return name;
    name += QLatin1Char('.') + extensions.constFirst();
    if (MayReplace(parent, caption, name)) return name;
    start = name;
  }
}

QStringList FileDialog::FilterExtensions(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  QStringList extensions;
  for (const QRegularExpressionMatch& m : pattern.globalMatch(filter)) extensions << m.captured(1).toLower();
  return extensions;
}

void FileDialog::setNextFileName(const QString& fileName, const QString& filter) {
  State().nextNames.emplace_back(fileName, filter);
}
void FileDialog::clearNextFileNames() { State().nextNames.clear(); }
int FileDialog::pendingFileNames() { return static_cast<int>(State().nextNames.size()); }
const QList<FileDialogRequest>& FileDialog::requests() { return State().requests; }
void FileDialog::clearRequests() { State().requests.clear(); }

}  // namespace mirolat
