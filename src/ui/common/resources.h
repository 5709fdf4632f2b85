#pragma once
// The pictures and help pages are compiled into a static library; the linker keeps them only
// when something asks for them, so every user of a ":/" path calls this first.

namespace wachtrix::ui {

void EnsureResources();

}  // namespace wachtrix::ui
