#include "ui/Ufacerca.h"

#include "ui/Fonts.h"
#include "ui/HelpViewer.h"
#include "ui/Panels.h"
#include "ui/helpcons.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

namespace orbeta {

TAboutBox::TAboutBox(HelpViewer& help, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_help(help) {
    setObjectName(QStringLiteral("TAboutBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Acerca de"));
    setFixedSize(369, 251);

    using Bevel = BevelPanel::Bevel;
    auto* panel = new BevelPanel(Bevel::Sunken, Bevel::Raised, 1, this);
    panel->setGeometry(8, 8, 353, 201);
    auto* picture = new AnalystPictureView(panel);
    picture->setGeometry(8, 8, 81, 73);

    QFont productFont = SansSerifFont(14);
    productFont.setBold(true);
    PlaceLabel(QStringLiteral("ORBETA v. w 3.1"), productFont, Qt::blue, {104, 16}, panel);
    PlaceLabel(QStringLiteral("Control de Calidad"), SansSerifFont(8), Qt::black, {8, 136}, panel);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(104, 218, 129, 27);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        m_help.ShowTopic(helpcons::kAbout);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orbeta
