#pragma once

#include "engine/Ucalculo.h"

#include <QWidget>

#include <string_view>

class QMdiSubWindow;

namespace orbeta {

// The precision window: a study's precision measures as labelled lines of text, written once
// when the window is built.
class TFpres final : public QWidget {
    Q_OBJECT

public:
    TFpres(std::string_view methodName, const PrecisionSummary& precision, char decimalSeparator,
           QWidget* parent = nullptr);

    // Makes the window's frame fixed around its client area, centred in the main window's area.
    void PlaceFrame(QMdiSubWindow& frame) const;
};

} // namespace orbeta
