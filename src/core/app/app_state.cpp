#include "core/app/app_state.h"

namespace mirolat {

AppState& TheAppState() {
  static AppState state;
  return state;
}

}  // namespace mirolat
