#pragma once
// The graph window a model asks its host for.

#include <QRect>
#include <string>
#include <vector>

#include "core/queue/queue_host.h"

class QWidget;

namespace wachtrix::ui {

class GraphWindow;

// A new, hidden window of the kind, owned by `owner` (closed with it), with the captions, placed
// by the global graph-window counter within `openArea` (screen coordinates; empty: anywhere on
// the screen).
GraphWindow* CreateGraphWindow(GraphWindowKind kind, QWidget* owner,
                               const std::vector<std::string>& captions,
                               const QRect& openArea = QRect());

}  // namespace wachtrix::ui
