#include "core/settings/record_image.h"

#include <QHash>
#include <QList>
#include <algorithm>
#include <cstring>
#include <limits>

namespace mirolat {

namespace {

// The layout: magic, byte-order mark, payload length, payload checksum, then
// the payload: the texts once each (count, then length and UTF-16 units of
// each), followed by the fields in a fixed order, texts as their index.
// 02: images of 01 were made before a load held records to the dialogs' rules
// (RecordProblems); those records are parsed and checked once more.
constexpr char kMagic[8] = {'M', 'R', 'L', 'I', 'M', 'G', '0', '2'};
constexpr quint32 kByteOrder = 0x01020304;
constexpr qsizetype kHeaderSize = 8 + 4 + 8 + 8;

// A quick 64-bit checksum, eight bytes a step: it guards against a damaged
// piece reading as another record, not against anybody's intent.
quint64 Checksum(const char* data, qsizetype size) {
  constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15ULL;
  quint64 h = 0x243F6A8885A308D3ULL ^ static_cast<quint64>(size);
  qsizetype i = 0;
  for (; i + 8 <= size; i += 8) {
    quint64 word;
    std::memcpy(&word, data + i, 8);
    h = (h ^ word) * kMultiplier;
    h ^= h >> 29;
  }
  quint64 tail = 0;
  std::memcpy(&tail, data + i, static_cast<size_t>(size - i));
  h = (h ^ tail) * kMultiplier;
  h ^= h >> 32;
  return h;
}

class Writer {
 public:
  void U8(quint8 v) { Raw(&v, 1); }
  void I32(qint32 v) { Raw(&v, 4); }
  void F32(float v) { Raw(&v, 4); }
  void F64(double v) { Raw(&v, 8); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void Str(const QString& text) {
    auto it = index_.constFind(text);
    if (it == index_.constEnd()) {
      it = index_.insert(text, static_cast<quint32>(texts_.size()));
      texts_.append(text);
    }
    const quint32 n = it.value();
    Raw(&n, 4);
  }
  void Value(const SettingsValue& v) {
    if (const auto* text = std::get_if<QString>(&v)) {
      U8(1);
      Str(*text);
    } else if (const auto* number = std::get_if<qint32>(&v)) {
      U8(2);
      I32(*number);
    } else {
      U8(0);
    }
  }

  QByteArray Finish() const {
    QByteArray payload;
    const quint32 count = static_cast<quint32>(texts_.size());
    payload.append(reinterpret_cast<const char*>(&count), 4);
    for (const QString& text : texts_) {
      const quint32 units = static_cast<quint32>(text.size());
      payload.append(reinterpret_cast<const char*>(&units), 4);
      payload.append(reinterpret_cast<const char*>(text.constData()), text.size() * 2);
    }
    payload.append(fields_);
    QByteArray image;
    image.reserve(kHeaderSize + payload.size());
    image.append(kMagic, 8);
    image.append(reinterpret_cast<const char*>(&kByteOrder), 4);
    const quint64 length = static_cast<quint64>(payload.size());
    const quint64 sum = Checksum(payload.constData(), payload.size());
    image.append(reinterpret_cast<const char*>(&length), 8);
    image.append(reinterpret_cast<const char*>(&sum), 8);
    image.append(payload);
    return image;
  }

 private:
  void Raw(const void* data, qsizetype size) { fields_.append(static_cast<const char*>(data), size); }
  QHash<QString, quint32> index_;
  QList<QString> texts_;
  QByteArray fields_;
};

// Reads the payload; the first fault sets ok() false and every later read
// gives zero, so a decode runs to its end and is thrown away there.
class Reader {
 public:
  explicit Reader(QByteArrayView payload) : data_(payload.data()), left_(payload.size()) {}

  bool ok() const { return ok_; }
  bool AtEnd() const { return left_ == 0; }
  void Fail() { ok_ = false; }

  bool ReadTexts() {
    const quint32 count = U32();
    // Each text takes at least its four-byte length.
    if (!ok_ || count > static_cast<quint64>(left_) / 4) return Failed();
    texts_.reserve(count);
    for (quint32 n = 0; n < count && ok_; ++n) {
      const quint32 units = U32();
      if (!ok_ || units > static_cast<quint64>(left_) / 2) return Failed();
      QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
      std::memcpy(text.data(), data_, static_cast<size_t>(units) * 2);
      Skip(static_cast<qsizetype>(units) * 2);
      texts_.append(std::move(text));
    }
    return ok_;
  }

  // A plain value of the host's layout (the image was made on this host).
  template <typename T>
  T Get() {
    T v{};
    Raw(&v, sizeof v);
    return v;
  }
  quint8 U8() { return Get<quint8>(); }
  quint32 U32() { return Get<quint32>(); }
  qint32 I32() { return Get<qint32>(); }
  float F32() { return Get<float>(); }
  double F64() { return Get<double>(); }
  // A whole number that must lie in low..high.
  int Count(int low, int high) {
    const qint32 v = I32();
    if (v < low || v > high) return Failed(), 0;
    return v;
  }
  bool Bool() {
    const quint8 v = U8();
    if (v > 1) Fail();
    return v == 1;
  }
  QString Str() {
    const quint32 n = U32();
    if (n >= static_cast<quint32>(texts_.size())) return Failed(), QString();
    return texts_[static_cast<qsizetype>(n)];
  }
  SettingsValue Value() {
    switch (U8()) {
      case 0:
        return {};
      case 1:
        return Str();
      case 2:
        return I32();
      default:
        Fail();
        return {};
    }
  }

 private:
  bool Failed() {
    ok_ = false;
    left_ = 0;
    return false;
  }
  void Raw(void* out, qsizetype size) {
    if (left_ < size) {
      Failed();
      return;
    }
    std::memcpy(out, data_, static_cast<size_t>(size));
    Skip(size);
  }
  void Skip(qsizetype size) {
    data_ += size;
    left_ -= size;
  }
  const char* data_;
  qsizetype left_;
  bool ok_ = true;
  QList<QString> texts_;
};

constexpr int kSummaryColumns = 5;
constexpr int kDetailColumns = 6;

// WriteFields and ReadFields walk the fields in the same order; a change to
// one is a change to the other and to the magic's version.
void WriteWindow(Writer& w, const ReportWindowSettings& s, int columns) {
  w.I32(s.WinHeight);
  w.I32(s.WinWidth);
  w.I32(s.WinLeft);
  w.I32(s.WinTop);
  w.F32(s.FontSize);
  for (int n = 0; n < columns; ++n) w.I32(s.Columns[static_cast<size_t>(n)]);
}

void ReadWindow(Reader& r, ReportWindowSettings& s, int columns) {
  s.WinHeight = r.I32();
  s.WinWidth = r.I32();
  s.WinLeft = r.I32();
  s.WinTop = r.I32();
  s.FontSize = r.F32();
  for (int n = 0; n < columns; ++n) s.Columns[static_cast<size_t>(n)] = r.I32();
}

void WriteFields(Writer& w, const Configuration& c, const RecordImageFacts& facts) {
  w.Str(c.ModemLogFile);
  w.I32(c.MaxServices);
  w.I32(c.UsedServices);
  w.I32(c.MaxConnections);
  w.I32(c.MaxConnectDays);
  w.F64(c.NoDisconDuration);
  w.F64(c.NoDisconData);
  w.I32(c.MaxLogSize);
  for (bool b : {c.EditLog, c.ShowErrors, c.ShowToolbars, c.ShowGraphic, c.AutoOptimize}) w.Bool(b);
  for (const QString* text : {&c.ModemDial, &c.ModemAnswer, &c.ModemConnect, &c.ModemUserDisconnect,
                              &c.ModemHostDisconnect, &c.ModemReads, &c.ModemWrites}) {
    w.Str(*text);
  }
  w.Bool(c.CalcCosts);
  w.F64(c.DialCost);
  w.F64(c.CostPerHour);
  w.F64(c.CostPerMeg);
  // The loops stay within the tables whatever the counts say; a count beyond
  // its table makes an image that a decode refuses.
  const int services = std::min(c.UsedServices, static_cast<int>(c.Services.size()));
  for (int n = 0; n < services; ++n) {
    const Service& s = c.Services[static_cast<size_t>(n)];
    w.Str(s.ServiceName);
    w.Str(s.ServiceNumber);
    w.I32(s.DialOption);
    w.F64(s.DialFixedTariff);
    w.I32(s.UsedTariffs);
    for (int t = 0; t < std::min(s.UsedTariffs, kMaxTariffs); ++t) {
      const Tariff& tariff = s.Tariffs[static_cast<size_t>(t)];
      w.I32(tariff.After);
      w.Str(tariff.AppliesDays);
      w.I32(tariff.AppliesTimeEnd);
      w.I32(tariff.AppliesTimeStart);
      w.Str(tariff.Description);
      w.F64(tariff.DialRate);
      w.F64(tariff.PerMinuteRate);
    }
    w.F64(s.ServiceRate);
    w.I32(s.ServiceOption);
    w.F64(s.AfterMeg);
    w.F64(s.PerMeg);
    w.Str(s.MegPeriod);
    w.F64(s.FlexRate);
    w.F64(s.FlexRate2);
    w.Str(s.PenaltyPeriod);
    w.I32(s.UpToHours);
  }
  const ViewLogSettings& v = c.ViewLog;
  w.Bool(v.SaveSettings);
  w.Str(v.FontName);
  w.I32(v.FontSize);
  w.Bool(v.FontBold);
  w.Bool(v.FontItalic);
  w.I32(v.WinHeight);
  w.I32(v.WinWidth);
  w.I32(v.WinState);
  w.Bool(c.ReportSaveSettings);
  w.Bool(c.ReportListView);
  w.Bool(c.ReportAutoArrange);
  WriteWindow(w, c.SummaryReport, kSummaryColumns);
  WriteWindow(w, c.DetailReport, kDetailColumns);
  w.I32(c.UsedHolidays);
  for (int n = 0; n < std::min(c.UsedHolidays, kMaxHolidays); ++n) w.I32(c.Holidays[static_cast<size_t>(n)]);
  const LoadedFlags& f = facts.Flags;
  for (const SettingsValue* flag : {&f.EditLog, &f.ShowErrors, &f.ShowToolbars, &f.ShowGraphic, &f.AutoOptimize,
                                    &f.CalcCosts}) {
    w.Value(*flag);
  }
  w.Bool(facts.AllKeysPresent);
}

void ReadFields(Reader& r, Configuration& c, RecordImageFacts& facts) {
  c.ModemLogFile = r.Str();
  c.MaxServices = r.Count(0, std::numeric_limits<qint16>::max() - 1);
  c.UsedServices = r.Count(0, c.MaxServices);
  c.MaxConnections = r.I32();
  c.MaxConnectDays = r.I32();
  c.NoDisconDuration = r.F64();
  c.NoDisconData = r.F64();
  c.MaxLogSize = r.I32();
  for (bool* b : {&c.EditLog, &c.ShowErrors, &c.ShowToolbars, &c.ShowGraphic, &c.AutoOptimize}) *b = r.Bool();
  for (QString* text : {&c.ModemDial, &c.ModemAnswer, &c.ModemConnect, &c.ModemUserDisconnect,
                        &c.ModemHostDisconnect, &c.ModemReads, &c.ModemWrites}) {
    *text = r.Str();
  }
  c.CalcCosts = r.Bool();
  c.DialCost = r.F64();
  c.CostPerHour = r.F64();
  c.CostPerMeg = r.F64();
  if (!r.ok()) return;
  c.Services.assign(static_cast<size_t>(c.MaxServices) + 1, Service{});
  for (int n = 0; n < c.UsedServices && r.ok(); ++n) {
    Service& s = c.Services[static_cast<size_t>(n)];
    s.ServiceName = r.Str();
    s.ServiceNumber = r.Str();
    s.DialOption = r.I32();
    s.DialFixedTariff = r.F64();
    s.UsedTariffs = r.Count(0, kMaxTariffs);
    for (int t = 0; t < s.UsedTariffs; ++t) {
      Tariff& tariff = s.Tariffs[static_cast<size_t>(t)];
      tariff.After = r.I32();
      tariff.AppliesDays = r.Str();
      tariff.AppliesTimeEnd = r.I32();
      tariff.AppliesTimeStart = r.I32();
      tariff.Description = r.Str();
      tariff.DialRate = r.F64();
      tariff.PerMinuteRate = r.F64();
    }
    s.ServiceRate = r.F64();
    s.ServiceOption = r.I32();
    s.AfterMeg = r.F64();
    s.PerMeg = r.F64();
    s.MegPeriod = r.Str();
    s.FlexRate = r.F64();
    s.FlexRate2 = r.F64();
    s.PenaltyPeriod = r.Str();
    s.UpToHours = r.I32();
  }
  ViewLogSettings& v = c.ViewLog;
  v.SaveSettings = r.Bool();
  v.FontName = r.Str();
  v.FontSize = r.I32();
  v.FontBold = r.Bool();
  v.FontItalic = r.Bool();
  v.WinHeight = r.I32();
  v.WinWidth = r.I32();
  v.WinState = r.I32();
  c.ReportSaveSettings = r.Bool();
  c.ReportListView = r.Bool();
  c.ReportAutoArrange = r.Bool();
  ReadWindow(r, c.SummaryReport, kSummaryColumns);
  ReadWindow(r, c.DetailReport, kDetailColumns);
  c.UsedHolidays = r.Count(0, kMaxHolidays);
  for (int n = 0; n < c.UsedHolidays; ++n) c.Holidays[static_cast<size_t>(n)] = r.I32();
  LoadedFlags& f = facts.Flags;
  for (SettingsValue* flag : {&f.EditLog, &f.ShowErrors, &f.ShowToolbars, &f.ShowGraphic, &f.AutoOptimize,
                              &f.CalcCosts}) {
    *flag = r.Value();
  }
  facts.AllKeysPresent = r.Bool();
}

}  // namespace

QByteArray EncodeRecordImage(const Configuration& parsed, const RecordImageFacts& facts) {
  Writer writer;
  WriteFields(writer, parsed, facts);
  return writer.Finish();
}

bool DecodeRecordImage(QByteArrayView image, Configuration& config, RecordImageFacts& facts) {
  if (image.size() < kHeaderSize || std::memcmp(image.data(), kMagic, 8) != 0) return false;
  quint32 order = 0;
  quint64 length = 0;
  quint64 sum = 0;
  std::memcpy(&order, image.data() + 8, 4);
  std::memcpy(&length, image.data() + 12, 8);
  std::memcpy(&sum, image.data() + 20, 8);
  const QByteArrayView payload = image.sliced(kHeaderSize);
  if (order != kByteOrder || length != static_cast<quint64>(payload.size())) return false;
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  if (sum != Checksum(payload.data(), payload.size())) return false;
#else
  (void)sum;
#endif
  Reader reader(payload);
  if (!reader.ReadTexts()) return false;
  Configuration decoded = config;
  RecordImageFacts found;
  ReadFields(reader, decoded, found);
  if (!reader.ok() || !reader.AtEnd()) return false;
  config = std::move(decoded);
  facts = std::move(found);
  return true;
}

}  // namespace mirolat
