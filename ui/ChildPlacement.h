#pragma once

#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace orbeta {

// Where a child window stands in the main window's area. Each takes the frame of a child
// window already added to the area.

// At the centre of the area; a frame larger than the area keeps its top left corner in it.
void CentreInArea(QMdiSubWindow& frame);

// At its designed size, or as much of it as the area holds (never below its smallest usable
// size), at the centre of the area: a window larger than a small screen would hide its lowest
// controls.
void FitAndCentreInArea(QMdiSubWindow& frame, QSize designed);

// The place and size the desktop gives a new child window by default: each a title bar's height
// further down and right than the one before, back to the corner once a third of the area's
// height is used, and as large as the area less that third.
void GiveDefaultPlaceAndSize(QMdiSubWindow& frame);

// The client size of a child window whose frame is designed to an outer size: the outer size
// less the frame's title bar and borders once the window is in its frame.
QSize ClientSizeOf(const QWidget& window, QSize outerSize);

// Tiles the child windows in rows and columns, in the order they were created: as many columns
// as a square arrangement has, or fewer when that leaves a window a cell smaller than its
// smallest usable size, so that no window reaches past the area. A window of fixed size stands
// at its cell's top left.
void TileInArea(QMdiArea& area);

// Cascades the child windows in the order they were created, each at its designed size (its size
// hint, within the area, never below its smallest usable size) and a title bar's height further
// down and right than the one before; one that would reach past the area starts again at the
// top left corner. The last created ends on top.
void CascadeInArea(QMdiArea& area);

} // namespace orbeta
