#pragma once

#include <QList>

namespace warizan::test {

// The levels the level menu started drills on, in order, until the drill's own start is linked in.
QList<int>& startedDrills();

} // namespace warizan::test
