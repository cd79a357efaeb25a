#pragma once
// Every message box of the program goes through here. Each box stores the
// number of the pressed button, as text, in one shared variable that
// confirmation questions read back (LastMessageAnswer). Tests queue the answers
// with setNextAnswer and read what was shown from shownMessages.
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "core/common/errors.h"

class QWidget;

namespace mirolat {

// The program's title, shown by a box without a title of its own.
inline constexpr const char* kProgramTitle = "Mirolat";

class MessageBox {
 public:
  // Shows the box modally and returns the pressed button. An empty title shows
  // the program's title; a help topic adds a Help button that opens the help
  // at that topic (through the help opener) and leaves the box up. Without
  // defaultButton the first button is the default.
  static MessageButton Show(const MessageBoxSpec& message, QWidget* parent = nullptr,
                            std::optional<MessageButton> defaultButton = std::nullopt);
  // A box from its parts.
  static MessageButton Show(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                            MessageIcon icon = MessageIcon::None, const QString& title = QString(),
                            QWidget* parent = nullptr);

  // What a box's Help button does with its topic. Until one is set, boxes
  // show no Help button; the desktop program sets the help window's.
  static void SetHelpOpener(std::function<void(int topic)> open);

  // The number of the button pressed in the last box, as text ("6" for Yes).
  static QString LastMessageAnswer();
  static void SetLastMessageAnswer(const QString& answer);

  // Test seam: the next boxes take these answers, in order, without showing.
  static void setNextAnswer(MessageButton answer);
  static void clearNextAnswers();
  static int pendingAnswers();
  // Every box asked for since the last clear, scripted or shown.
  static const QList<MessageBoxSpec>& shownMessages();
  static void clearShownMessages();
};

}  // namespace mirolat
