#pragma once
// When the program runs without a person (window tests), dialogs that would
// wait for an answer are not shown: they take their scripted answer, or their
// default when none was scripted.

namespace mirolat {

bool Unattended();
void SetUnattended(bool on);

}  // namespace mirolat
