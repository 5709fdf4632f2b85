#pragma once
// What the Markov window tests share: the box recorder and the UI tests' helpers.

#include "ui/common/dialog_recorder.h"
#include "ui/common/ui_test_support.h"
