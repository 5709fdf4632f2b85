#pragma once
// The number of graph windows created so far by all models; it places each new window 20
// pixels further right and down. It only ever grows.

namespace wachtrix::ui {

// The current count, which is then increased by one.
int TakeGraphWindowCounter();

}  // namespace wachtrix::ui
