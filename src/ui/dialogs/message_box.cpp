#include "ui/dialogs/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <deque>
#include <utility>

#include "ui/dialogs/unattended.h"

namespace mirolat {

namespace {

struct MessageBoxState {
  QString lastAnswer;
  std::deque<MessageButton> nextAnswers;
  QList<MessageBoxSpec> shown;
  std::function<void(int)> openHelp;
};

MessageBoxState& State() {
  static MessageBoxState state;
  return state;
}

QList<MessageButton> ButtonsOf(MessageButtons buttons) {
  using B = MessageButton;
  switch (buttons) {
    case MessageButtons::Ok:
      return {B::Ok};
    case MessageButtons::OkCancel:
      return {B::Ok, B::Cancel};
    case MessageButtons::AbortRetryIgnore:
      return {B::Abort, B::Retry, B::Ignore};
    case MessageButtons::YesNo:
      return {B::Yes, B::No};
    case MessageButtons::YesNoCancel:
      return {B::Yes, B::No, B::Cancel};
  }
  return {B::Ok};
}

// Escape and the window's close button: the least harmful answer of the box.
// An Abort/Retry/Ignore box continues rather than ends the program.
MessageButton EscapeAnswerOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageButton::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
      return MessageButton::Cancel;
    case MessageButtons::AbortRetryIgnore:
      return MessageButton::Ignore;
    case MessageButtons::YesNo:
      return MessageButton::No;
  }
  return MessageButton::Ok;
}

QMessageBox::StandardButton StandardButtonOf(MessageButton button) {
  switch (button) {
    case MessageButton::Ok:
      return QMessageBox::Ok;
    case MessageButton::Cancel:
      return QMessageBox::Cancel;
    case MessageButton::Abort:
      return QMessageBox::Abort;
    case MessageButton::Retry:
      return QMessageBox::Retry;
    case MessageButton::Ignore:
      return QMessageBox::Ignore;
    case MessageButton::Yes:
      return QMessageBox::Yes;
    case MessageButton::No:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return QMessageBox::NoIcon;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

MessageButton ShowModal(const MessageBoxSpec& message, QWidget* parent, MessageButton defaultAnswer) {
  const QList<MessageButton> answers = ButtonsOf(message.buttons);
  // A box without a window of its own is centred on the window in use
  // rather than on the screen.
  if (parent == nullptr) parent = QApplication::activeWindow();
  for (;;) {
    QMessageBox box(parent);
    box.setWindowTitle(message.title.isEmpty() ? QString::fromLatin1(kProgramTitle) : message.title);
    box.setText(message.text);
    box.setIcon(IconOf(message.icon));
    box.setTextFormat(Qt::PlainText);
    for (MessageButton answer : answers) {
      QPushButton* button = box.addButton(StandardButtonOf(answer));
      if (answer == defaultAnswer) box.setDefaultButton(button);
    }
    const std::function<void(int)>& openHelp = State().openHelp;
    QPushButton* help = message.helpTopic > 0 && openHelp ? box.addButton(QMessageBox::Help) : nullptr;
    // A box with a Help button blocks only its own window, so that the help
    // window it opens can be read, scrolled and searched while it stays up.
    if (help != nullptr && parent != nullptr) box.setWindowModality(Qt::WindowModal);
    box.setEscapeButton(box.button(StandardButtonOf(EscapeAnswerOf(message.buttons))));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (help != nullptr && clicked == help) {
      openHelp(message.helpTopic);
      continue;
    }
    for (MessageButton answer : answers) {
      if (clicked == box.button(StandardButtonOf(answer))) return answer;
    }
    return EscapeAnswerOf(message.buttons);
  }
}

}  // namespace

MessageButton MessageBox::Show(const MessageBoxSpec& message, QWidget* parent,
                               std::optional<MessageButton> defaultButton) {
  MessageBoxState& state = State();
  state.shown.append(message);
  const MessageButton defaultAnswer = defaultButton.value_or(ButtonsOf(message.buttons).constFirst());
  MessageButton answer;
  if (!state.nextAnswers.empty()) {
    answer = state.nextAnswers.front();
    state.nextAnswers.pop_front();
  } else if (Unattended()) {
    qWarning("Unanswered message box \"%s\": taking its default button", qUtf8Printable(message.text.left(60)));
    answer = defaultAnswer;
  } else {
    answer = ShowModal(message, parent, defaultAnswer);
  }
  state.lastAnswer = QString::number(static_cast<int>(answer));
  return answer;
}

MessageButton MessageBox::Show(const QString& text, MessageButtons buttons, MessageIcon icon, const QString& title,
                               QWidget* parent) {
  return Show(MessageBoxSpec{title, text, buttons, icon, 0}, parent);
}

void MessageBox::SetHelpOpener(std::function<void(int topic)> open) { State().openHelp = std::move(open); }

QString MessageBox::LastMessageAnswer() { return State().lastAnswer; }
void MessageBox::SetLastMessageAnswer(const QString& answer) { State().lastAnswer = answer; }

void MessageBox::setNextAnswer(MessageButton answer) { State().nextAnswers.push_back(answer); }
void MessageBox::clearNextAnswers() { State().nextAnswers.clear(); }
int MessageBox::pendingAnswers() { return static_cast<int>(State().nextAnswers.size()); }
const QList<MessageBoxSpec>& MessageBox::shownMessages() { return State().shown; }
void MessageBox::clearShownMessages() { State().shown.clear(); }

}  // namespace mirolat
