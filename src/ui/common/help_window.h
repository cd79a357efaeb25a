#pragma once
// The help window: the HTML help pages with a contents list, a search box that
// lists the pages containing every word typed, and a page on using help.
// Pages live in the folder "help" beside the program; each page names the
// topic number it answers in <meta name="topic" content="N">.
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace mirolat {

struct HelpPage {
  QString fileName;  // inside the help folder
  QString title;
  int topic = 0;     // 0: no topic number
  QString text;      // plain text, for the search
};

class frmHelp : public QWidget {
  Q_OBJECT
 public:
  explicit frmHelp(const QString& helpDir, QWidget* parent = nullptr);

  // Pages in contents order (the contents page first, then by title).
  const QList<HelpPage>& Pages() const { return pages_; }
  void ShowTopic(int topic);  // the contents page for an unknown topic
  void ShowContents();
  void ShowSearch();          // the search page, with the focus in the search box
  void ShowUsingHelp();
  void ShowPage(const QString& fileName);
  // Files of the pages containing every word of `words` (any case).
  QStringList FindPages(const QString& words) const;
  // The file shown now.
  QString CurrentPage() const;

 private:
  void LoadPages();
  void FillList(const QStringList& fileNames);
  void txtSearch_TextChanged(const QString& text);
  void lstContents_ItemActivated();

  QString helpDir_;
  QList<HelpPage> pages_;
  QLineEdit* txtSearch_;
  QListWidget* lstContents_;
  QPushButton* btnContents_;
  QPushButton* btnUsingHelp_;
  QTextBrowser* txtPage_;
};

inline constexpr const char* kHelpContentsPage = "index.html";
inline constexpr const char* kHelpSearchPage = "search.html";
inline constexpr const char* kHelpUsingPage = "using_help.html";

// The help folder: the one set for tests, else "help" beside the program.
QString HelpDirectory();
void SetHelpDirectory(const QString& dir);

// The one help window, opened (modeless) on first use; null before.
frmHelp* HelpWindow();
void ShowHelp(int topic);
void ShowHelpContents();
void ShowHelpSearch();
void ShowHelpUsing();

// F1 in `window` (or any of its children) opens help at the topic `topic`
// gives at that moment.
void InstallHelpKey(QWidget* window, std::function<int()> topic);
void InstallHelpKey(QWidget* window, int topic);

}  // namespace mirolat
