#pragma once
// The open-file and save-file dialogs. Tests queue the names the next dialogs
// return (an empty name stands for Cancel) and read back what was asked.
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace mirolat {

struct FileDialogRequest {
  enum Kind { Open, Save } kind = Open;
  QString caption;
  QString directory;
  QString filter;
};

class FileDialog {
 public:
  // The chosen file, or an empty text when the user cancelled.
  static QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter);
  static QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter);
  // The same for files of one kind: a name chosen without an extension gets
  // `defaultSuffix` ("mrl"), and when the name then names an existing file the
  // user is asked whether to replace it (No goes back to the dialog). The
  // question comes after the extension is added, whatever dialog the desktop
  // shows.
  static QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter, const QString& defaultSuffix);

  // A save dialog offering several kinds of file ("PDF files (*.pdf)"), with
  // `selectedFilter` selected at first and, on return, the one selected last.
  // While the user types, a name's extension of another offered kind selects
  // that kind, and choosing a kind changes the name's extension. A name chosen
  // without an extension of any offered kind gets the selected kind's; when
  // that name names an existing file, the user is asked whether to replace
  // it (No goes back to the dialog), as the dialog asked about its own name.
  static QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QStringList& filters, QString* selectedFilter);
  // The extensions a filter names, without the dots: "HTML files (*.html *.htm)"
  // gives html and htm.
  static QStringList FilterExtensions(const QString& filter);

  // Test seam: the next dialogs return these names, in order, without showing;
  // a save dialog of several kinds takes `filter` as the kind chosen with it.
  static void setNextFileName(const QString& fileName, const QString& filter = {});
  static void clearNextFileNames();
  static int pendingFileNames();
  // Every dialog asked for since the last clear.
  static const QList<FileDialogRequest>& requests();
  static void clearRequests();
};

}  // namespace mirolat
