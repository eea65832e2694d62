#include "ui/Ufpres.h"

#include "engine/ReportText.h"
#include "ui/ChildPlacement.h"
#include "ui/Fonts.h"

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orbeta {

TFpres::TFpres(std::string_view methodName, const PrecisionSummary& precision,
               char decimalSeparator, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TFpres"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Evaluación de la precisión"));
    setFont(SystemFont(13));
    setFixedSize(518, 238);

    auto* memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("memop"));
    memo->setReadOnly(true);
    memo->setEnabled(false);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo);

    for (const std::string& line :
         PrecisionLines(methodName, precision, decimalSeparator, PrecisionText::Window)) {
        memo->appendPlainText(QString::fromStdString(line));
    }
}

void TFpres::PlaceFrame(QMdiSubWindow& frame) const {
    frame.setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    frame.adjustSize();
    frame.setFixedSize(frame.size());
    CentreInArea(frame);
    frame.show();
}

} // namespace orbeta
