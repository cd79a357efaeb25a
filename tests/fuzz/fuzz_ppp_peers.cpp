// libFuzzer entry for the pppd hook's readers: any bytes as a peers file and
// as a chat script. A number found is digits only; the chat command of the
// connect option, split again, names the same script and phone; a number
// found in a script survives being quoted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>

#include "core/logfile/pppd_hook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mirolat;
  const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString command = PeersConnectCommand(input);
  const ChatCommand chat = ParseChatCommand(command);
  if (!chat.IsChat && (!chat.ScriptFile.isEmpty() || !chat.Script.isEmpty())) std::abort();
  const QStringList words = SplitWords(QString::fromUtf8(input));
  for (const QString& phone : {QString(), QStringLiteral("0845")}) {
    const QString number = DialledNumberOfChat(words, phone);
    for (const QChar c : number) {
      if (c < u'0' || c > u'9') std::abort();
    }
    if (!number.isEmpty() && DialledNumberOfChat(chat.Script + words, phone).isEmpty()) std::abort();
  }
  return 0;
}
