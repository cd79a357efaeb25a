#include "ui/common/about_window.h"

#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>
#include <QtGlobal>

#include "core/settings/config_paths.h"
#include "core/settings/settings_store.h"
#include "ui/common/end_program.h"
#include "ui/common/splash_window.h"
#include "ui/dialogs/message_box.h"

namespace mirolat {

namespace {

QString SettingsFileInUse() {
  try {
    return SettingsStore::FilePathIn(ConfigFolder());
  } catch (const RunError& e) {
    return QStringLiteral("(not available: %1)").arg(e.description());
  }
}

QString LogDirectoryInUse() {
  try {
    return LogDirectory();
  } catch (const RunError& e) {
    return QStringLiteral("(not available: %1)").arg(e.description());
  }
}

}  // namespace

QString SystemInfoText(const QString& settingsFile, const QString& logDirectory) {
  const QLocale locale;
  QStringList lines;
  lines << QStringLiteral("Mirolat %1").arg(QStringLiteral(MIROLAT_VERSION_STRING));
  lines << QStringLiteral("Qt version: %1 (built with %2)").arg(QString::fromLatin1(qVersion()),
                                                                   QStringLiteral(QT_VERSION_STR));
  lines << QStringLiteral("Platform: %1, %2, window system \"%3\"")
               .arg(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture(),
                    QGuiApplication::platformName());
  lines << QStringLiteral("Locale: %1 (%2, %3)")
               .arg(locale.name(), QLocale::languageToString(locale.language()),
                    QLocale::territoryToString(locale.territory()));
  lines << QStringLiteral("Settings file: %1")
               .arg(QDir::toNativeSeparators(settingsFile.isEmpty() ? SettingsFileInUse() : settingsFile));
  lines << QStringLiteral("Log directory: %1")
               .arg(QDir::toNativeSeparators(logDirectory.isEmpty() ? LogDirectoryInUse() : logDirectory));
  return lines.join(QLatin1Char('\n'));
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About Mirolat"));
  setModal(true);

  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);
  lblTitle = new QLabel(QStringLiteral("Mirolat"), this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  lblTitle->setFont(titleFont);
  lblVersion = new QLabel(VersionText(), this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblDescription = new QLabel(
      QStringLiteral("Connection time and cost of your dial-up sessions, read from your modem log."), this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDescription->setWordWrap(true);
  lblCredit = new QLabel(QStringLiteral("Written by the Mirolat developers, built with Qt."), this);
  lblCredit->setObjectName(QStringLiteral("lblCredit"));
  lblCredit->setWordWrap(true);
  cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);

  auto* text = new QVBoxLayout;
  text->addWidget(lblTitle);
  text->addWidget(lblVersion);
  text->addSpacing(8);
  text->addWidget(lblDescription);
  text->addWidget(lblCredit);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdSysInfo);
  buttons->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
  setMinimumWidth(380);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
  RegisterWindow(WindowRole::About, this);
}

frmAbout::~frmAbout() { UnregisterWindow(this); }

void frmAbout::cmdSysInfo_Click() {
  MessageBox::Show(SystemInfoText(), MessageButtons::Ok, MessageIcon::Information,
                   QStringLiteral("System Information"), this);
}

}  // namespace mirolat
