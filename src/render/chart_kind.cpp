#include "render/report_charts.h"

namespace mirolat {

bool ChartKindFromId(const QString& id, ChartKind* kind) {
  static const struct {
    const char* id;
    ChartKind kind;
  } kKinds[] = {{"daily", ChartKind::Daily},
                {"share", ChartKind::Share},
                {"heatmap", ChartKind::HeatMap},
                {"cumulative", ChartKind::Cumulative}};
  for (const auto& k : kKinds) {
    if (id == QLatin1String(k.id)) {
      *kind = k.kind;
      return true;
    }
  }
  return false;
}

}  // namespace mirolat
