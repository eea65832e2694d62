#pragma once

#include <QIcon>

class QPainter;
class QRectF;

namespace orbeta {

// The pictures of the tool-bar buttons.
enum class ToolPicture {
    NewSheet,        // blank sheet with a folded corner and radiating marks
    OpenFolder,      // open yellow folder
    Diskette,        // blue diskette
    Printer,         // printer
    ClosingSheet,    // sheet with a folded-down flap and radiating marks
    Door,            // red door
    TiledWindow,     // window split into four tiled panes
    CascadedWindows, // window holding three overlapping windows
    QuestionMark,
};

// A button's picture `size` pixels square, drawn when it is first shown. With a grey outline it
// also carries the picture the button shows while unavailable; without, Qt greys the picture
// itself.
QIcon ToolIcon(ToolPicture picture, int size, bool withGreyOutline);

// The analyst in profile looking at an Erlenmeyer flask held up in a hand, among a few
// statistical symbols; stretched to fill `area`. Shown by the splash and the about window.
void PaintAnalystPicture(QPainter& painter, const QRectF& area);

} // namespace orbeta
