#pragma once
// The configuration record as a parse of the store left it, in one compact
// piece kept beside the values (SettingsStore::StoreDerived): loading a record
// of thousands of services then costs one read of one piece instead of a
// lookup, a check and a conversion for each of millions of values.
//
// An image carries every field a parse sets, the booleans as the store held
// them (LoadedFlags) and whether every key of the record was present. Images
// are only made from records that parsed without fault.
#include <QByteArray>
#include <QByteArrayView>

#include "core/model/configuration.h"
#include "core/settings/configuration_io.h"

namespace mirolat {

// What a parse found besides the fields themselves.
struct RecordImageFacts {
  LoadedFlags Flags;
  bool AllKeysPresent = false;
};

// `parsed` as a parse of the stored values filled it.
QByteArray EncodeRecordImage(const Configuration& parsed, const RecordImageFacts& facts);

// Sets in `config` exactly the fields a parse of the stored values sets, as
// that parse would, and fills `facts`. False, with `config` and `facts` left
// alone, for anything that is not a whole, undamaged image of this format.
bool DecodeRecordImage(QByteArrayView image, Configuration& config, RecordImageFacts& facts);

}  // namespace mirolat
