#include "ui/common/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "core/settings/config_paths.h"
#include "ui/dialogs/window_placement.h"

namespace mirolat {

namespace {

QString& HelpDirOverride() {
  static QString dir;
  return dir;
}

QPointer<frmHelp>& TheHelpWindow() {
  static QPointer<frmHelp> window;
  return window;
}

frmHelp& OpenHelpWindow() {
  QPointer<frmHelp>& window = TheHelpWindow();
  if (window.isNull()) {
    window = new frmHelp(HelpDirectory());
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Beside nothing of its own: centred on the window the user asked from,
    // and whole on its screen.
    PlaceOnParent(window, QApplication::activeWindow());
  }
  window->show();
  window->raise();
  window->activateWindow();
  return *window;
}

}  // namespace

frmHelp::frmHelp(const QString& helpDir, QWidget* parent) : QWidget(parent, Qt::Window), helpDir_(helpDir) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Mirolat Help"));

  txtSearch_ = new QLineEdit(this);
  txtSearch_->setObjectName(QStringLiteral("txtSearch"));
  txtSearch_->setPlaceholderText(QStringLiteral("Search for words..."));
  txtSearch_->setClearButtonEnabled(true);
  lstContents_ = new QListWidget(this);
  lstContents_->setObjectName(QStringLiteral("lstContents"));
  btnContents_ = new QPushButton(QStringLiteral("&Contents"), this);
  btnContents_->setObjectName(QStringLiteral("btnContents"));
  btnUsingHelp_ = new QPushButton(QStringLiteral("&Using Help"), this);
  btnUsingHelp_->setObjectName(QStringLiteral("btnUsingHelp"));
  txtPage_ = new QTextBrowser(this);
  txtPage_->setObjectName(QStringLiteral("txtPage"));
  txtPage_->setSearchPaths({helpDir_});
  txtPage_->setOpenExternalLinks(true);

  auto* side = new QVBoxLayout;
  side->addWidget(txtSearch_);
  side->addWidget(lstContents_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnContents_);
  buttons->addWidget(btnUsingHelp_);
  side->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(side, 1);
  layout->addWidget(txtPage_, 3);
  resize(860, 560);

  connect(txtSearch_, &QLineEdit::textChanged, this, &frmHelp::txtSearch_TextChanged);
  connect(lstContents_, &QListWidget::itemActivated, this, &frmHelp::lstContents_ItemActivated);
  connect(lstContents_, &QListWidget::itemClicked, this, &frmHelp::lstContents_ItemActivated);
  connect(btnContents_, &QPushButton::clicked, this, &frmHelp::ShowContents);
  connect(btnUsingHelp_, &QPushButton::clicked, this, &frmHelp::ShowUsingHelp);

  LoadPages();
  QStringList all;
  for (const HelpPage& page : pages_) all.append(page.fileName);
  FillList(all);
  ShowContents();
}

void frmHelp::LoadPages() {
  static const QRegularExpression topicMeta(
      QStringLiteral(R"re(<meta\s+name\s*=\s*"topic"\s+content\s*=\s*"(\d+)")re"),
      QRegularExpression::CaseInsensitiveOption);
  const QDir dir(helpDir_);
  for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString html = QString::fromUtf8(file.readAll());
    QTextDocument document;
    document.setHtml(html);
    HelpPage page;
    page.fileName = name;
    page.title = document.metaInformation(QTextDocument::DocumentTitle);
    if (page.title.isEmpty()) page.title = name;
    page.text = document.toPlainText();
    const QRegularExpressionMatch match = topicMeta.match(html);
    if (match.hasMatch()) page.topic = match.captured(1).toInt();
    pages_.append(page);
  }
  std::stable_sort(pages_.begin(), pages_.end(), [](const HelpPage& a, const HelpPage& b) {
    const bool aContents = a.fileName == QLatin1String(kHelpContentsPage);
    const bool bContents = b.fileName == QLatin1String(kHelpContentsPage);
    if (aContents != bContents) return aContents;
    return QString::localeAwareCompare(a.title, b.title) < 0;
  });
}

void frmHelp::FillList(const QStringList& fileNames) {
  lstContents_->clear();
  for (const HelpPage& page : pages_) {
    if (!fileNames.contains(page.fileName)) continue;
    auto* item = new QListWidgetItem(page.title, lstContents_);
    item->setData(Qt::UserRole, page.fileName);
  }
}

QStringList frmHelp::FindPages(const QString& words) const {
  const QStringList wanted = words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  QStringList found;
  for (const HelpPage& page : pages_) {
    const bool all = std::all_of(wanted.begin(), wanted.end(), [&page](const QString& word) {
      return page.text.contains(word, Qt::CaseInsensitive) || page.title.contains(word, Qt::CaseInsensitive);
    });
    if (all) found.append(page.fileName);
  }
  return found;
}

void frmHelp::txtSearch_TextChanged(const QString& text) { FillList(FindPages(text)); }

void frmHelp::lstContents_ItemActivated() {
  QListWidgetItem* item = lstContents_->currentItem();
  if (item != nullptr) ShowPage(item->data(Qt::UserRole).toString());
}

void frmHelp::ShowPage(const QString& fileName) {
  if (!QFile::exists(QDir(helpDir_).filePath(fileName))) {
    txtPage_->setPlainText(QStringLiteral("The help page \"%1\" was not found in %2.")
                               .arg(fileName, QDir::toNativeSeparators(helpDir_)));
    return;
  }
  txtPage_->setSource(QUrl::fromLocalFile(QDir(helpDir_).filePath(fileName)));
}

QString frmHelp::CurrentPage() const { return txtPage_->source().fileName(); }

void frmHelp::ShowTopic(int topic) {
  for (const HelpPage& page : pages_) {
    if (page.topic == topic && topic != 0) {
      ShowPage(page.fileName);
      return;
    }
  }
  ShowContents();
}

void frmHelp::ShowContents() { ShowPage(QString::fromLatin1(kHelpContentsPage)); }

void frmHelp::ShowSearch() {
  ShowPage(QString::fromLatin1(kHelpSearchPage));
  txtSearch_->setFocus();
  txtSearch_->selectAll();
}

void frmHelp::ShowUsingHelp() { ShowPage(QString::fromLatin1(kHelpUsingPage)); }

QString HelpDirectory() {
  if (!HelpDirOverride().isEmpty()) return HelpDirOverride();
  return FindDataPath(QStringLiteral("help"));
}

void SetHelpDirectory(const QString& dir) { HelpDirOverride() = dir; }

frmHelp* HelpWindow() { return TheHelpWindow().data(); }

void ShowHelp(int topic) { OpenHelpWindow().ShowTopic(topic); }
void ShowHelpContents() { OpenHelpWindow().ShowContents(); }
void ShowHelpSearch() { OpenHelpWindow().ShowSearch(); }
void ShowHelpUsing() { OpenHelpWindow().ShowUsingHelp(); }

void InstallHelpKey(QWidget* window, std::function<int()> topic) {
  auto* shortcut = new QShortcut(QKeySequence::HelpContents, window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, window, [topic = std::move(topic)] { ShowHelp(topic()); });
}

void InstallHelpKey(QWidget* window, int topic) {
  InstallHelpKey(window, [topic] { return topic; });
}

}  // namespace mirolat
