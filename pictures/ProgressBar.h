#pragma once
// The bar is the canvas's, since the tale window's print runs it too.
#include "canvas/ProgressBar.h"

namespace pictures {

using canvas::ProgressBar;

}  // namespace pictures
