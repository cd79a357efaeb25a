#pragma once
// The log viewer and editor: shows the current file (the modem log or the
// archive open in its place) as plain text, searches it, lets the user edit it
// when the EditLog setting allows, saves it back, saves it as a new archive
// and chooses its font. Font and window size are kept in the ViewLog settings
// when Save on Exit is checked.
//
// Wiring: create it with the program's state and error reporter, connect its
// signals, then call ShowViewer(). It deletes itself when closed.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <array>

#include "core/common/errors.h"
#include "core/logfile/log_text_file.h"
#include "ui/logviewer/frm_find.h"
#include "ui/logviewer/search_state.h"

namespace mirolat {

struct AppState;
class ErrorReporter;

class frmViewLog : public QMainWindow {
  Q_OBJECT
 public:
  // Reads the current file, the configuration and the store of `state`; file
  // errors go to `reporter`.
  frmViewLog(AppState& state, ErrorReporter& reporter, QWidget* parent = nullptr);
  ~frmViewLog() override;

  // Loads the file and shows the window (modeless). Emits ViewerOpenChanged(true).
  void ShowViewer();

  // The search state kept between searches for the whole run.
  static SearchState& Search();
  static void ResetSearch();

 private:
  // Controls, under the window's own names.
  QToolBar* Toolbar1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 4> StatusPanels{};  // panels 1..4
  QPlainTextEdit* TextViewLog = nullptr;

  QMenu* mnuFile = nullptr;
  QAction* mnuSave = nullptr;
  QAction* mnuSaveArchive = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuSearch = nullptr;
  QAction* mnuSearchFind = nullptr;
  QAction* mnuSearchFindNext = nullptr;
  QAction* mnuTop = nullptr;
  QAction* mnuBottom = nullptr;
  QMenu* mnuSettings = nullptr;
  QAction* mnuFont = nullptr;
  QAction* mnuSaveSettings = nullptr;
  QAction* mnuRestore = nullptr;

  // The toolbar button with this key ("Save", "Exit", "Search"), or null.
  QAction* ToolbarButtonByKey(const QString& key) const;
  QString PanelText(int panel) const;  // 1..4
  // The find dialog while it is open, else null.
  frmFind* FindDialog() const { return findDialog_; }
  // The text as shown, lines ended by '\n'.
  const QString& ShownText();
  // A large file is shown at once from its beginning and the rest is added
  // in the background; the text is read-only meanwhile. Every command that
  // needs the whole text (find, save, bottom) first completes it.
  bool IsLoading() const { return loading_; }
  void CompleteLoading();

  // Window procedures and commands.
  void Form_Load();
  // Unsaved edits are asked about (Yes, No, Cancel). False when the window
  // stays: the user cancelled, or the edits the user chose to save could not
  // be written (they are kept, to be saved elsewhere).
  bool Form_Unload();
  void Form_Activate();
  void UpdateStatusBar();

 private Q_SLOTS:
  void mnuSave_Click();
  void mnuSaveArchive_Click();
  void mnuExit_Click();
  void mnuSearchFind_Click();
  void mnuSearchFindNext_Click();
  void mnuTop_Click();
  void mnuBottom_Click();
  void mnuFont_Click();
  void mnuSaveSettings_Click();
  void mnuRestore_Click();
  void Toolbar1_ButtonClick(QAction* button);
  // The search of the find dialog and of Find Next; true on a hit.
  bool FindText();

 Q_SIGNALS:
  // The viewer is open (after ShowViewer) or closed (while it unloads): the
  // main window's commands that rewrite the file wait while it is open.
  void ViewerOpenChanged(bool open);
  // The text was written back over the current file: the main window re-scans
  // the file and reloads itself.
  void LogSaved();
  // A new archive was written at `path`.
  void ArchiveSaved(const QString& path);
  // The viewer has unloaded (after ViewerOpenChanged(false)); `saved` tells
  // whether it wrote the current file while it was open.
  void Closed(bool saved);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // "Save changes?" about the file read, with these buttons.
  MessageBoxSpec SaveQuestion(MessageButtons buttons) const;
  // Writes the text over the file it was read from, the previous file kept as
  // its backup; false when nothing was written (the user would not replace
  // lines written since, or the write failed).
  bool WriteBack();
  void BuildControls();
  void BuildMenus();
  void BuildToolbar();
  void ApplyEditLock();
  void SetSaveEnabled(bool on);
  void ApplyStoredFont();
  void ApplyStoredSize();
  double DpiX() const;
  double DpiY() const;
  // Shows the text up to the end of the line after `chars` more characters.
  void AppendLoadedText(qsizetype chars);
  void FinishLoading();

  AppState& state_;
  ErrorReporter& reporter_;
  QList<QAction*> toolbarButtons_;
  QPointer<frmFind> findDialog_;
  QString text_;              // the shown text, rebuilt after edits
  bool textStale_ = true;
  QByteArray lineEnd_ = QByteArrayLiteral("\r\n");
  QString readPath_;          // the file shown, and the one Save writes
  bool readArchive_ = false;  // it was an archive (its backup is ModemLogArchive.old)
  FileStamp stamp_;           // the file as last read or written
  QTimer* loadTimer_ = nullptr;
  qsizetype loadedChars_ = 0;  // the part of text_ in the document while loading
  bool loading_ = false;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool savedOnce_ = false;
};

}  // namespace mirolat
