#include "core/settings/record_image.h"

#include "core/settings/config_fields.h"

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
// 03: the fields in the order of config_fields.h, and FlexRate2 read under its
// own name from 21 services up (an image of 02 may hold another's value).
// 04: the overall budget after the record's fields, each service's after its own.
constexpr char kMagic[8] = {'M', 'R', 'L', 'I', 'M', 'G', '0', '4'};
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

// WriteFields and ReadFields walk the tables of config_fields.h in the same
// order; a change to a table is a change to the magic's version.
template <class Record>
void Put(Writer& w, std::span<const FieldSpec<Record>> fields, const Record& record) {
  for (const FieldSpec<Record>& f : fields) {
    switch (f.Kind) {
      case FieldKind::Text:
      case FieldKind::FileName:
        w.Str(FieldOf<QString>(record, f));
        break;
      case FieldKind::Int16:
      case FieldKind::Int32:
      case FieldKind::Time:
      case FieldKind::Date:
        w.I32(FieldOf<int>(record, f));
        break;
      case FieldKind::Money:
      case FieldKind::Plain:
        w.F64(FieldOf<double>(record, f));
        break;
      case FieldKind::Single:
        w.F32(FieldOf<float>(record, f));
        break;
      case FieldKind::Flag:
        w.Bool(FieldOf<bool>(record, f));
        break;
    }
  }
}

template <class Record>
void Get(Reader& r, std::span<const FieldSpec<Record>> fields, Record& record) {
  for (const FieldSpec<Record>& f : fields) {
    switch (f.Kind) {
      case FieldKind::Text:
      case FieldKind::FileName:
        FieldOf<QString>(record, f) = r.Str();
        break;
      case FieldKind::Int16:
      case FieldKind::Int32:
      case FieldKind::Time:
      case FieldKind::Date: {
        const std::optional<FieldRange> range = f.Range != nullptr ? f.Range(record) : std::nullopt;
        FieldOf<int>(record, f) = range ? r.Count(static_cast<int>(range->Low), static_cast<int>(range->High)) : r.I32();
        break;
      }
      case FieldKind::Money:
      case FieldKind::Plain:
        FieldOf<double>(record, f) = r.F64();
        break;
      case FieldKind::Single:
        FieldOf<float>(record, f) = r.F32();
        break;
      case FieldKind::Flag:
        FieldOf<bool>(record, f) = r.Bool();
        break;
    }
  }
}

void WriteWindow(Writer& w, const ReportWindowSettings& s, int columns) {
  Put(w, ReportWindowFields(), s);
  for (int n = 0; n < columns; ++n) w.I32(s.Columns[static_cast<size_t>(n)]);
}

void ReadWindow(Reader& r, ReportWindowSettings& s, int columns) {
  Get(r, ReportWindowFields(), s);
  for (int n = 0; n < columns; ++n) s.Columns[static_cast<size_t>(n)] = r.I32();
}

void WriteFields(Writer& w, const Configuration& c, const RecordImageFacts& facts) {
  Put(w, RecordFields(), c);
  Put(w, BudgetFields(), c.OverallBudget);
  // The loops stay within the tables whatever the counts say; a count beyond
  // its table makes an image that a decode refuses.
  const int services = std::min(c.UsedServices, static_cast<int>(c.Services.size()));
  for (int n = 0; n < services; ++n) {
    const Service& s = c.Services[static_cast<size_t>(n)];
    Put(w, ServiceFields(), s);
    Put(w, BudgetFields(), s.Budget);
    for (int t = 0; t < std::min(s.UsedTariffs, kMaxTariffs); ++t) Put(w, TariffFields(), s.Tariffs[static_cast<size_t>(t)]);
  }
  Put(w, ViewLogFields(), c.ViewLog);
  WriteWindow(w, c.SummaryReport, kSummaryColumns);
  WriteWindow(w, c.DetailReport, kDetailColumns);
  for (int n = 0; n < std::min(c.UsedHolidays, kMaxHolidays); ++n) w.I32(c.Holidays[static_cast<size_t>(n)]);
  const LoadedFlags& f = facts.Flags;
  for (const SettingsValue* flag : {&f.EditLog, &f.ShowErrors, &f.ShowToolbars, &f.ShowGraphic, &f.AutoOptimize,
                                    &f.CalcCosts}) {
    w.Value(*flag);
  }
  w.Bool(facts.AllKeysPresent);
}

void ReadFields(Reader& r, Configuration& c, RecordImageFacts& facts) {
  Get(r, RecordFields(), c);
  Get(r, BudgetFields(), c.OverallBudget);
  if (!r.ok()) return;
  c.Services.assign(static_cast<size_t>(c.MaxServices) + 1, Service{});
  for (int n = 0; n < c.UsedServices && r.ok(); ++n) {
    Service& s = c.Services[static_cast<size_t>(n)];
    Get(r, ServiceFields(), s);
    Get(r, BudgetFields(), s.Budget);
    for (int t = 0; t < s.UsedTariffs && r.ok(); ++t) Get(r, TariffFields(), s.Tariffs[static_cast<size_t>(t)]);
  }
  Get(r, ViewLogFields(), c.ViewLog);
  ReadWindow(r, c.SummaryReport, kSummaryColumns);
  ReadWindow(r, c.DetailReport, kDetailColumns);
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
