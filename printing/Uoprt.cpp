#include "printing/Uoprt.h"

#include "printing/GlyphButton.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orbeta {

namespace {

// A radio group of `items`, numbered from 0, with item `selected` chosen.
QButtonGroup* AddRadioGroup(QWidget& window, const char* name, const QString& caption,
                            const QRect& place, const QStringList& items, int selected) {
    auto* box = new QGroupBox(caption, &window);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (int item = 0; item < items.size(); ++item) {
        auto* button = new QRadioButton(items[item], box);
        button->setChecked(item == selected);
        group->addButton(button, item);
        layout->addWidget(button);
    }
    return group;
}

} // namespace

TFOPRT::TFOPRT(QWidget& parent)
    : PrintDialogWindow(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      m_printerType(AddRadioGroup(
          *this, "SELECPRT", QStringLiteral("Tipo de Impresora:"), QRect(8, 16, 273, 97),
          {QStringLiteral("Impresora DeskJet"), QStringLiteral("Impresora Laser Jet")}, 0)),
      m_margin(AddRadioGroup(
          *this, "SELECMAR", QStringLiteral("Selecciona margen:"), QRect(8, 128, 169, 105),
          {QStringLiteral("1 cm"), QStringLiteral("1.5 cm"), QStringLiteral("2.0 cm")}, 1)) {
    setObjectName(QStringLiteral("TFOPRT"));
    setWindowTitle(QStringLiteral("Opciones de impresión"));
    setGeometry(110, 114, 308, 245);

    auto* ok = new GlyphButton(QStyle::SP_DialogOkButton, QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(192, 168, 97, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TFOPRT::BitBtn1Click);
}

void TFOPRT::SetOptionsDialogs(std::function<void()> showLaserOptions,
                               std::function<void()> showDeskJetOptions) {
    m_showLaserOptions = std::move(showLaserOptions);
    m_showDeskJetOptions = std::move(showDeskJetOptions);
}

DeskJetSettings TFOPRT::Settings() const {
    using Margin = DeskJetSettings::Margin;
    constexpr Margin kMargins[] = {Margin::OneCm, Margin::OneAndAHalfCm, Margin::TwoCm};
    return {m_printerType->checkedId() == 1 ? DeskJetSettings::PrinterType::LaserJet
                                            : DeskJetSettings::PrinterType::DeskJet,
            kMargins[m_margin->checkedId()]};
}

void TFOPRT::BitBtn1Click() {
    const std::function<void()>& show =
        Settings().printerType == DeskJetSettings::PrinterType::LaserJet ? m_showLaserOptions
                                                                         : m_showDeskJetOptions;
    if (show) {
        show();
    }
    accept();
}

} // namespace orbeta
