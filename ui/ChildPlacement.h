#pragma once

class QMdiSubWindow;

namespace orbeta {

// Where a child window stands in the main window's area. Each takes the frame of a child
// window already added to the area.

// At the centre of the area; a frame larger than the area keeps its top left corner in it.
void CentreInArea(QMdiSubWindow& frame);

// The place and size the desktop gives a new child window by default: each a title bar's height
// further down and right than the one before, back to the corner once a third of the area's
// height is used, and as large as the area less that third.
void GiveDefaultPlaceAndSize(QMdiSubWindow& frame);

} // namespace orbeta
