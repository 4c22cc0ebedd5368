#pragma once
// The snapshot belongs to the canvas, whose printing the main and the tale window share.
#include "canvas/core/Snapshot.h"

namespace pictures {

using canvas::Snapshot;

}  // namespace pictures
