#pragma once
// The per-user options the windows read and write at once (application and
// section of the per-user settings).

namespace mirolat {

inline constexpr const char* kUserOptionsApp = "MRL";
inline constexpr const char* kUserOptionsSection = "Options";

}  // namespace mirolat
