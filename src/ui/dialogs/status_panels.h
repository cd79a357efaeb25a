#pragma once
// The sunken text panels of a window's status bar: the first takes twice the
// width of each of the others.
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <array>
#include <cstddef>

namespace mirolat {

// Adds N panels named "Panel1".."PanelN" to `bar`, in order.
template <std::size_t N>
std::array<QLabel*, N> AddStatusPanels(QStatusBar* bar) {
  std::array<QLabel*, N> panels{};
  for (std::size_t i = 0; i < N; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panel, i == 0 ? 2 : 1);
    panels[i] = panel;
  }
  return panels;
}

}  // namespace mirolat
