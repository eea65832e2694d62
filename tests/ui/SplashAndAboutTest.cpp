#include "ui/Main.h"
#include "ui/Ufacerca.h"
#include "ui/Ufshow.h"

#include "doubles/ScriptedPlatform.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

namespace orbeta {
namespace {

using testing::ScriptedPlatform;

QStringList LabelTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    return texts;
}

class SplashTest : public ::testing::Test {
protected:
    SplashTest() : mainWindow(platform.Seams()), splash(new TFshow(mainWindow)) {}

    QTimer& Timer1() { return *splash->findChild<QTimer*>(QStringLiteral("Timer1")); }
    void ActivateMainWindow() {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&mainWindow, &activation);
    }

    ScriptedPlatform platform;
    TMainForm mainWindow;
    QPointer<TFshow> splash;
};

TEST_F(SplashTest, ShowsAtOnceBorderlessOnTopWithTheProductAndItsPicture) {
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash->size(), QSize(520, 426));
    EXPECT_TRUE(LabelTexts(*splash).contains("ORBETA v. w 3.1"));
    EXPECT_TRUE(LabelTexts(*splash).contains("Control de Calidad"));
}

// The labels are given their room rather than measured, so that the splash loads no typeface
// before the main window is up: the room must hold the whole text where it belongs.
TEST_F(SplashTest, EachTextStandsAtItsPlaceWithRoomForAllOfIt) {
    const std::map<QString, QPoint> places = {{"ORBETA v. w 3.1", {88, 24}},
                                              {"Control de Calidad", {160, 400}}};
    const QList<QLabel*> labels = splash->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), places.size());
    for (const QLabel* label : labels) {
        SCOPED_TRACE(label->text().toStdString());
        ASSERT_EQ(places.count(label->text()), 1u);
        EXPECT_EQ(label->pos(), places.at(label->text()));
        const QRect text(label->pos(), label->sizeHint());
        EXPECT_TRUE(label->geometry().contains(text));
        EXPECT_TRUE(label->parentWidget()->rect().contains(text));
    }
}

TEST_F(SplashTest, Timer1WaitsForTheMainWindowThenRunsThreeSecondsOnce) {
    QTimer& timer = Timer1();
    EXPECT_EQ(timer.interval(), 3000);
    EXPECT_TRUE(timer.isSingleShot());
    EXPECT_FALSE(timer.isActive()) << "stopped until the main window becomes active";

    ActivateMainWindow();
    ASSERT_TRUE(timer.isActive());
    const int remaining = timer.remainingTime();
    QTest::qWait(20);
    ActivateMainWindow();
    EXPECT_LT(timer.remainingTime(), remaining) << "a later activation does not restart it";
}

TEST_F(SplashTest, ClosesItselfWhenTimer1FiresAndLaterActivationsChangeNothing) {
    Timer1().setInterval(10);
    ActivateMainWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 2000));
    ActivateMainWindow();
    EXPECT_TRUE(mainWindow.findChildren<TFshow*>().isEmpty());
}

TEST(AboutBox, EachChoiceOpensAnotherWindowThatDoesNotBlockAndClosesWithOk) {
    ScriptedPlatform platform;
    TMainForm mainWindow(platform.Seams());
    mainWindow.show();
    QAction* about = mainWindow.findChild<QAction*>(QStringLiteral("HelpAboutItem"));
    about->trigger();
    about->trigger();
    const QList<TAboutBox*> boxes = mainWindow.findChildren<TAboutBox*>();
    ASSERT_EQ(boxes.size(), 2);
    for (TAboutBox* box : boxes) {
        EXPECT_TRUE(box->isVisible());
        EXPECT_FALSE(box->isModal());
        EXPECT_EQ(box->windowTitle(), "Acerca de");
        EXPECT_EQ(box->size(), QSize(369, 251));
        EXPECT_TRUE(LabelTexts(*box).contains("ORBETA v. w 3.1"));
        EXPECT_TRUE(LabelTexts(*box).contains("Control de Calidad"));
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QPointer<TAboutBox> first = boxes.first();
    auto* ok = first->findChild<QPushButton*>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(104, 218, 129, 27));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));
    EXPECT_EQ(mainWindow.findChildren<TAboutBox*>().size(), 1);
}

TEST(AboutBox, F1AsksForTheAboutTopic) {
    ScriptedPlatform platform;
    TAboutBox box(platform.help, nullptr);
    box.setAttribute(Qt::WA_DeleteOnClose, false);
    box.show();
    QTest::keyClick(&box, Qt::Key_F1);
    EXPECT_EQ(platform.help.Requests(), QStringList({"topic 33"}));
}

} // namespace
} // namespace orbeta
