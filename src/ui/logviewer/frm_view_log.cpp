#include "ui/logviewer/frm_view_log.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFontInfo>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "core/logfile/log_rewrites.h"
#include "core/logfile/text_search.h"
#include "core/settings/configuration_io.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/status_panels.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/font_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/wait_cursor.h"
#include "ui/dialogs/window_placement.h"
#include "ui/logviewer/frm_find.h"

namespace mirolat {

namespace {

constexpr int kLogMaintenanceHelpTopic = 7;
// The first part of a file, shown before the window opens: far more lines
// than any screen holds. The rest follows in parts small enough to keep the
// window responsive.
constexpr qsizetype kFirstPartChars = 256 * 1024;
constexpr qsizetype kLaterPartChars = 384 * 1024;

// The document's characters with '\n' between its lines.
QString DocumentText(const QTextDocument& document) {
  QString raw = document.toRawText();
  // The raw text ends with the last block's separator, which is no character of the text.
  if (!raw.isEmpty() && raw.back() == QChar::ParagraphSeparator) raw.chop(1);
  for (QChar& c : raw) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = QLatin1Char('\n');
  }
  return raw;
}

// The desktop's keys for a standard command, or `fallback` where the desktop
// has none.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, QKeyCombination fallback) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (keys.isEmpty()) keys.append(QKeySequence(fallback));
  return keys;
}

}  // namespace

SearchState& frmViewLog::Search() {
  static SearchState search;
  return search;
}

void frmViewLog::ResetSearch() { Search() = SearchState{}; }

frmViewLog::frmViewLog(AppState& state, ErrorReporter& reporter, QWidget* parent)
    : QMainWindow(parent, Qt::Window), state_(state), reporter_(reporter) {
  setObjectName(QStringLiteral("frmViewLog"));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  BuildMenus();
  BuildToolbar();
  InstallHelpKey(this, kLogMaintenanceHelpTopic);
  RegisterWindow(WindowRole::LogViewer, this);
}

frmViewLog::~frmViewLog() { UnregisterWindow(this); }

// ---------------------------------------------------------------------------
// Construction

void frmViewLog::BuildControls() {
  TextViewLog = new QPlainTextEdit(this);
  TextViewLog->setObjectName(QStringLiteral("TextViewLog"));
  TextViewLog->setLineWrapMode(QPlainTextEdit::NoWrap);
  TextViewLog->setUndoRedoEnabled(true);
  TextViewLog->installEventFilter(this);
  setCentralWidget(TextViewLog);
  connect(TextViewLog->document(), &QTextDocument::contentsChanged, this, [this] {
    if (loading_) return;
    textStale_ = true;
    StatusBar1->clearMessage();
  });
  connect(TextViewLog->document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
    if (loaded_ && !loading_) SetSaveEnabled(changed);
  });
  loadTimer_ = new QTimer(this);
  loadTimer_->setInterval(0);
  connect(loadTimer_, &QTimer::timeout, this, [this] { AppendLoadedText(kLaterPartChars); });

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusPanels = AddStatusPanels<4>(StatusBar1);
  setStatusBar(StatusBar1);
}

// The commands' keys leave the desktop's editing keys (Cut, Copy, Paste,
// Select All, Undo, Redo) to the text; Find is the viewer's own.
void frmViewLog::BuildMenus() {
  auto action = [this](QMenu* menu, const QString& name, const QString& caption, const QList<QKeySequence>& keys,
                       void (frmViewLog::*handler)()) {
    auto* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuSave = action(mnuFile, QStringLiteral("mnuSave"), QStringLiteral("&Save"),
                   StandardKeys(QKeySequence::Save, Qt::CTRL | Qt::Key_S), &frmViewLog::mnuSave_Click);
  mnuSaveArchive = action(mnuFile, QStringLiteral("mnuSaveArchive"), QStringLiteral("Save as &Archive"),
                          StandardKeys(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                          &frmViewLog::mnuSaveArchive_Click);
  mnuFile->addSeparator();
  mnuExit = action(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("&Close"),
                   StandardKeys(QKeySequence::Close, Qt::CTRL | Qt::Key_W), &frmViewLog::mnuExit_Click);

  mnuSearch = menuBar()->addMenu(QStringLiteral("&Search"));
  mnuSearch->setObjectName(QStringLiteral("mnuSearch"));
  mnuSearchFind = action(mnuSearch, QStringLiteral("mnuSearchFind"), QStringLiteral("&Find"),
                         StandardKeys(QKeySequence::Find, Qt::CTRL | Qt::Key_F) << QKeySequence(Qt::Key_F2),
                         &frmViewLog::mnuSearchFind_Click);
  mnuSearchFindNext = action(mnuSearch, QStringLiteral("mnuSearchFindNext"), QStringLiteral("Find &Next"),
                             StandardKeys(QKeySequence::FindNext, Qt::Key_F3), &frmViewLog::mnuSearchFindNext_Click);
  mnuSearch->addSeparator();
  mnuTop = action(mnuSearch, QStringLiteral("mnuTop"), QStringLiteral("&Top"), {QKeySequence(Qt::CTRL | Qt::Key_T)},
                  &frmViewLog::mnuTop_Click);
  mnuBottom = action(mnuSearch, QStringLiteral("mnuBottom"), QStringLiteral("&Bottom"),
                     {QKeySequence(Qt::CTRL | Qt::Key_B)}, &frmViewLog::mnuBottom_Click);

  mnuSettings = menuBar()->addMenu(QStringLiteral("S&ettings"));
  mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
  mnuFont = action(mnuSettings, QStringLiteral("mnuFont"), QStringLiteral("&Font"), {}, &frmViewLog::mnuFont_Click);
  mnuSettings->addSeparator();
  mnuSaveSettings = action(mnuSettings, QStringLiteral("mnuSaveSettings"), QStringLiteral("&Save on Exit"), {},
                           &frmViewLog::mnuSaveSettings_Click);
  mnuSaveSettings->setCheckable(true);
  mnuRestore = action(mnuSettings, QStringLiteral("mnuRestore"), QStringLiteral("&Restore Defaults"), {},
                      &frmViewLog::mnuRestore_Click);
}

void frmViewLog::BuildToolbar() {
  Toolbar1 = new QToolBar(this);
  Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1->setMovable(false);
  Toolbar1->setFloatable(false);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addToolBar(Qt::TopToolBarArea, Toolbar1);
  const auto add = [this](const QString& key, const QString& text, const QString& tooltip) {
    auto* button = Toolbar1->addAction(text);
    button->setObjectName(QStringLiteral("Toolbar1_") + key);
    button->setData(key);
    button->setToolTip(tooltip);
    toolbarButtons_.append(button);
  };
  add(QStringLiteral("Save"), QStringLiteral("Save"), QStringLiteral("Save"));
  add(QStringLiteral("Exit"), QStringLiteral("Close"), QStringLiteral("Close"));
  Toolbar1->addSeparator();
  add(QStringLiteral("Search"), QStringLiteral("Search"), QStringLiteral("Search"));
  connect(Toolbar1, &QToolBar::actionTriggered, this, &frmViewLog::Toolbar1_ButtonClick);
}

QAction* frmViewLog::ToolbarButtonByKey(const QString& key) const {
  for (QAction* button : toolbarButtons_) {
    if (button->data().toString() == key) return button;
  }
  return nullptr;
}

QString frmViewLog::PanelText(int panel) const {
  if (panel < 1 || panel > 4) return {};
  return StatusPanels[static_cast<std::size_t>(panel - 1)]->text();
}

const QString& frmViewLog::ShownText() {
  if (textStale_) {
    text_ = DocumentText(*TextViewLog->document());
    textStale_ = false;
  }
  return text_;
}

double frmViewLog::DpiX() const {
  const int dpi = logicalDpiX();
  return dpi > 0 ? dpi : 96;
}

double frmViewLog::DpiY() const {
  const int dpi = logicalDpiY();
  return dpi > 0 ? dpi : 96;
}

// ---------------------------------------------------------------------------
// Window procedures

void frmViewLog::ShowViewer() {
  Form_Load();
  show();
  raise();
  activateWindow();
  Form_Activate();
  Q_EMIT ViewerOpenChanged(true);
}

void frmViewLog::Form_Load() {
  const CurrentFileState& file = state_.File;
  mnuSaveSettings->setChecked(state_.Config.ViewLog.SaveSettings);
  ApplyEditLock();
  setWindowTitle(file.ArchiveOpen ? QStringLiteral("MRL - View Archive (") + file.LogFileName + QLatin1Char(')')
                                  : QStringLiteral("MRL - View Modem Log"));
  ApplyStoredFont();
  ApplyStoredSize();

  {
    WaitCursor wait;
    LogText log;
    // The viewer saves to the file it read, whatever becomes current meanwhile.
    readPath_ = file.LogFilePath;
    readArchive_ = file.ArchiveOpen;
    const QString path = readPath_;
    if (RunStep(reporter_, [&log, &path] { log = ReadLogText(path); })) {
      lineEnd_ = log.lineEnd;
      stamp_ = log.stamp;
    } else {
      stamp_ = StampOfFile(path);
    }
    text_ = std::move(log.text);
    textStale_ = false;
    loading_ = true;
    loadedChars_ = 0;
    TextViewLog->document()->setUndoRedoEnabled(false);
    ApplyEditLock();
    TextViewLog->clear();
    AppendLoadedText(kFirstPartChars);
    TextViewLog->moveCursor(QTextCursor::Start);
  }
  loaded_ = true;
  SetSaveEnabled(false);
  UpdateStatusBar();
  if (loading_) loadTimer_->start();
}

void frmViewLog::AppendLoadedText(qsizetype chars) {
  if (!loading_) return;
  qsizetype end = loadedChars_ + chars;
  if (end >= text_.size()) {
    end = text_.size();
  } else {
    const qsizetype lineEnd = text_.indexOf(QLatin1Char('\n'), end);
    end = lineEnd < 0 ? text_.size() : lineEnd + 1;
  }
  QTextCursor cursor(TextViewLog->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringView(text_).mid(loadedChars_, end - loadedChars_).toString());
  loadedChars_ = end;
  if (loadedChars_ >= text_.size()) FinishLoading();
}

void frmViewLog::FinishLoading() {
  loadTimer_->stop();
  loading_ = false;
  QTextDocument* document = TextViewLog->document();
  document->setUndoRedoEnabled(true);
  document->setModified(false);
  textStale_ = false;
  ApplyEditLock();
}

void frmViewLog::CompleteLoading() {
  while (loading_) AppendLoadedText(text_.size());
}

void frmViewLog::Form_Activate() {
  Toolbar1->setVisible(state_.Config.ShowToolbars);
  Toolbar1->setEnabled(state_.Config.ShowToolbars);
}

bool frmViewLog::Form_Unload() {
  if (unloaded_) return true;
  if (mnuSave->isEnabled()) {
    // Unsaved edits: Yes writes them (the window stays when they could not
    // be written), No lets them go, Cancel goes back to them.
    switch (MessageBox::Show(SaveQuestion(MessageButtons::YesNoCancel), this)) {
      case MessageButton::Yes:
        if (!WriteBack()) return false;
        break;
      case MessageButton::No:
        break;
      default:
        return false;
    }
  }
  unloaded_ = true;
  loadTimer_->stop();

  ViewLogSettings& v = state_.Config.ViewLog;
  if (v.SaveSettings) {
    const QFont font = TextViewLog->font();
    v.FontName = font.family();
    v.FontSize = static_cast<int>(std::lround(font.pointSizeF()));
    v.FontBold = font.bold();
    v.FontItalic = font.italic();
    const Qt::WindowStates s = windowState();
    if ((s & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0) {
      v.WinHeight = PixelsToTwips(height(), DpiY());
      v.WinWidth = PixelsToTwips(width(), DpiX());
    }
    v.WinState = (s & Qt::WindowMinimized) ? 1 : (s & (Qt::WindowMaximized | Qt::WindowFullScreen)) ? 2 : 0;
  }
  // The viewer's own settings only: the rest of the record may have been
  // changed by another program since it was read.
  if (state_.Store) SaveViewLogSettings(*state_.Store, v, reporter_);
  Q_EMIT ViewerOpenChanged(false);
  Q_EMIT Closed(savedOnce_);
  return true;
}

void frmViewLog::ApplyEditLock() {
  const bool locked = !state_.Config.EditLog || loading_;
  TextViewLog->setReadOnly(locked);
  // Locked, the text can still be walked, selected and copied with the keys.
  if (locked) TextViewLog->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void frmViewLog::SetSaveEnabled(bool on) {
  mnuSave->setEnabled(on);
  ToolbarButtonByKey(QStringLiteral("Save"))->setEnabled(on);
}

void frmViewLog::ApplyStoredFont() {
  const ViewLogSettings& v = state_.Config.ViewLog;
  QFont font(v.FontName);
  if (v.FontSize > 0) font.setPointSize(v.FontSize);
  font.setBold(v.FontBold);
  font.setItalic(v.FontItalic);
  TextViewLog->setFont(font);
}

void frmViewLog::ApplyStoredSize() {
  const ViewLogSettings& v = state_.Config.ViewLog;
  if (v.WinWidth > 0 && v.WinHeight > 0) resize(TwipsToPixels(v.WinWidth, DpiX()), TwipsToPixels(v.WinHeight, DpiY()));
  if (v.WinState == 1) {
    setWindowState(Qt::WindowMinimized);
  } else if (v.WinState == 2) {
    setWindowState(Qt::WindowMaximized);
  } else {
    setWindowState(Qt::WindowNoState);
  }
}

void frmViewLog::UpdateStatusBar() {
  // The font the text is drawn in: a font the system does not have is
  // replaced by another, and the panel names that one.
  const QFontInfo font(TextViewLog->font());
  StatusPanels[0]->setText(font.family() + QLatin1Char(' ') + QString::number(std::lround(font.pointSizeF())));
  StatusPanels[1]->setText(font.bold() ? QStringLiteral(" Bold") : QString());
  StatusPanels[2]->setText(font.italic() ? QStringLiteral(" Italic") : QString());
  StatusPanels[3]->setText(state_.Config.EditLog ? QStringLiteral("Edit Allowed") : QStringLiteral("Locked"));
}

void frmViewLog::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && loaded_ && !unloaded_) Form_Activate();
}

void frmViewLog::closeEvent(QCloseEvent* event) {
  if (Form_Unload()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool frmViewLog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TextViewLog && event->type() == QEvent::FocusIn) ApplyEditLock();
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Commands

void frmViewLog::mnuSave_Click() {
  if (MessageBox::Show(SaveQuestion(MessageButtons::OkCancel), this) != MessageButton::Ok) return;
  WriteBack();
}

MessageBoxSpec frmViewLog::SaveQuestion(MessageButtons buttons) const {
  MessageBoxSpec question;
  question.text = (readArchive_ ? QStringLiteral("Save Changes to Archive File?")
                                : QStringLiteral("Save Changes to Modem Log File?")) +
                  QStringLiteral("\n\n") + QDir::toNativeSeparators(readPath_);
  question.buttons = buttons;
  return question;
}

bool frmViewLog::WriteBack() {
  const QString path = readPath_;
  // Lines the modem wrote since the file was read would be lost: ask first.
  if (StampOfFile(path) != stamp_) {
    MessageBoxSpec changed;
    changed.title = QStringLiteral("WARNING");
    changed.text = QStringLiteral(
        "The file has changed since the viewer read it: new entries may have been written to it.\n\n"
        "Replace it with the text shown here?");
    changed.buttons = MessageButtons::YesNo;
    changed.icon = MessageIcon::Exclamation;
    if (MessageBox::Show(changed, this, MessageButton::No) != MessageButton::Yes) return false;
  }
  CompleteLoading();
  const QString& text = ShownText();
  const QByteArray lineEnd = lineEnd_;
  // The previous file is kept, as the other rewrites keep it.
  CurrentFileState read;
  read.LogFilePath = path;
  read.ArchiveOpen = readArchive_;
  const QString backup = BackupPathFor(read);
  if (!RunStep(reporter_, [&path, &text, &lineEnd, &backup] { WriteLogText(path, text, lineEnd, backup); })) {
    return false;
  }
  stamp_ = StampOfFile(path);
  savedOnce_ = true;
  TextViewLog->document()->setModified(false);
  SetSaveEnabled(false);
  Q_EMIT LogSaved();
  return true;
}

void frmViewLog::mnuSaveArchive_Click() {
  const CurrentFileState& file = state_.File;
  // Month names in English whatever the language, as the report file names have them.
  const QString proposed =
      ProposedArchiveName(file.LogFirstDate, file.LogLastDate, QLocale(QLocale::English, QLocale::UnitedStates));
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const QString proposedFile = proposed.isEmpty() ? QString() : proposed + QStringLiteral(".mrl");
  const QString fileName =
      FileDialog::GetSaveFileName(this, QStringLiteral("Save as Archive"), QDir(folder).filePath(proposedFile),
                                  QString::fromLatin1(kArchiveFileFilter), QStringLiteral("mrl"));
  if (fileName.isEmpty()) return;
  CompleteLoading();
  const QString& text = ShownText();
  const QByteArray lineEnd = lineEnd_;
  if (!RunStep(reporter_, [&fileName, &text, &lineEnd] { WriteLogText(fileName, text, lineEnd); })) return;
  StatusBar1->showMessage(QStringLiteral("Archive saved as ") + QDir::toNativeSeparators(fileName));
  Q_EMIT ArchiveSaved(fileName);
}

void frmViewLog::mnuExit_Click() { close(); }

void frmViewLog::mnuSearchFind_Click() {
  if (!findDialog_.isNull()) return;
  QString selection = TextViewLog->textCursor().selectedText();
  selection.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  findDialog_ = new frmFind(Search(), [this] { return FindText(); }, selection, this);
  findDialog_->exec();
  delete findDialog_.data();
}

void frmViewLog::mnuSearchFindNext_Click() {
  if (Search().SearchText.isEmpty()) {
    mnuSearchFind_Click();
  } else {
    FindText();
  }
}

bool frmViewLog::FindText() {
  CompleteLoading();
  SearchState& s = Search();
  const qint64 caret = TextViewLog->textCursor().selectionStart();
  TextSearchRequest request;
  request.needle = s.SearchText;
  request.caret = caret;
  request.matchCase = s.MatchCase;
  request.down = s.SearchDirection == 1;
  request.continueAfterHit = caret == s.LastFoundPos && !s.NewSearch;
  const qsizetype pos = FindTextPosition(ShownText(), request);
  const bool found = pos != 0;
  if (!found) {
    MessageBox::Show(QStringLiteral("Cannot find \"") + s.SearchText + QLatin1Char('"'), MessageButtons::Ok,
                     MessageIcon::None, QString(), findDialog_.isNull() ? static_cast<QWidget*>(this) : findDialog_.data());
  } else {
    QTextCursor cursor(TextViewLog->document());
    cursor.setPosition(static_cast<int>(pos - 1));
    cursor.setPosition(static_cast<int>(pos - 1 + s.SearchText.size()), QTextCursor::KeepAnchor);
    TextViewLog->setTextCursor(cursor);
    TextViewLog->ensureCursorVisible();
  }
  s.LastFoundPos = TextViewLog->textCursor().selectionStart();
  s.NewSearch = false;
  return found;
}

void frmViewLog::mnuTop_Click() { TextViewLog->moveCursor(QTextCursor::Start); }

void frmViewLog::mnuBottom_Click() {
  CompleteLoading();
  TextViewLog->moveCursor(QTextCursor::End);
}

void frmViewLog::mnuFont_Click() {
  QFont font = TextViewLog->font();
  if (!FontDialog::Choose(font, this, QStringLiteral("Font"))) return;
  TextViewLog->setFont(font);
  UpdateStatusBar();
}

void frmViewLog::mnuSaveSettings_Click() {
  // The check has already toggled; the setting follows it.
  state_.Config.ViewLog.SaveSettings = mnuSaveSettings->isChecked();
}

void frmViewLog::mnuRestore_Click() {
  SetViewLogDefaults(state_.Config);
  ApplyStoredFont();
  mnuSaveSettings->setChecked(state_.Config.ViewLog.SaveSettings);
  setWindowState(Qt::WindowNoState);
  const ViewLogSettings& v = state_.Config.ViewLog;
  resize(TwipsToPixels(v.WinWidth, DpiX()), TwipsToPixels(v.WinHeight, DpiY()));
  UpdateStatusBar();
}

void frmViewLog::Toolbar1_ButtonClick(QAction* button) {
  if (button == nullptr) return;
  const QString key = button->data().toString();
  if (key == QLatin1String("Save")) {
    mnuSave_Click();
  } else if (key == QLatin1String("Exit")) {
    mnuExit_Click();
  } else if (key == QLatin1String("Search")) {
    mnuSearchFind_Click();
  }
}

}  // namespace mirolat
