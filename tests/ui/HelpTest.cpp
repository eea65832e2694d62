#include "ui/HelpBook.h"
#include "ui/HelpViewer.h"
#include "ui/Ufayuda.h"
#include "ui/helpcons.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace orbeta {
namespace {

const QString kHelpFile = QStringLiteral("AYUDA5.HLP");

// The page's file in the resources, and the place on it, if any.
QString PageFile(const QString& page) {
    return QStringLiteral(":/") + kHelpFile + QLatin1Char('/') +
           page.section(QLatin1Char('#'), 0, 0);
}

QString PageText(const QString& page) {
    QFile file(PageFile(page));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void ExpectPageExists(const QString& page) {
    const QString text = PageText(page);
    ASSERT_FALSE(text.isEmpty()) << page.toStdString() << " is missing";
    const QString place = page.section(QLatin1Char('#'), 1);
    if (!place.isEmpty()) {
        EXPECT_TRUE(text.contains(QStringLiteral("name=\"%1\"").arg(place)))
            << page.toStdString() << " has no such place";
    }
}

const int kHelpContexts[] = {
    helpcons::kFileMenu,      helpcons::kNew,
    helpcons::kCaptureWindow, helpcons::kOpen,
    helpcons::kClose,         helpcons::kSave,
    helpcons::kSaveAs,        helpcons::kPrint,
    helpcons::kExit,          helpcons::kCalculationsMenu,
    helpcons::kAnova,         helpcons::kPrecision,
    helpcons::kReport,        helpcons::kExtendedAnalysis,
    helpcons::kWindowMenu,    helpcons::kTile,
    helpcons::kCascade,       helpcons::kHelpMenu,
    helpcons::kHelpContents,  helpcons::kHelpSearch,
    helpcons::kAbout,         helpcons::kPlanner,
};

TEST(HelpBook, EveryHelpContextAndKeywordLeadsToAPageThatExists) {
    for (const int context : kHelpContexts) {
        SCOPED_TRACE(context);
        const QString page = PageOfHelpContext(context);
        EXPECT_NE(page, QString::fromLatin1(kContentsPage)) << "a topic of its own";
        ExpectPageExists(page);
    }
    ASSERT_FALSE(HelpKeywords().isEmpty());
    for (const HelpKeyword& keyword : HelpKeywords()) {
        ExpectPageExists(keyword.page);
    }
    ExpectPageExists(QString::fromLatin1(kContentsPage));
    ExpectPageExists(QString::fromLatin1(kHelpOnHelpPage));
    EXPECT_EQ(PageOfHelpContext(999), QString::fromLatin1(kContentsPage));
}

TEST(HelpBook, TopicsSayWhatTheirCommandsDo) {
    EXPECT_TRUE(PageText(PageOfHelpContext(helpcons::kAnova)).contains("ANALISTA"));
    EXPECT_TRUE(PageText(PageOfHelpContext(helpcons::kPrecision)).contains("1.96"));
    EXPECT_TRUE(PageText(PageOfHelpContext(helpcons::kPrecision)).contains("0.814049"));
    EXPECT_TRUE(PageText(PageOfHelpContext(helpcons::kAnova)).contains("0.05"));
    EXPECT_TRUE(PageText(PageOfHelpContext(helpcons::kNew)).contains("Aceptar nuevo formato"));
    const QString extended = PageText(PageOfHelpContext(helpcons::kExtendedAnalysis));
    for (const char* said : {"ISO 5725-2", "ICH Q2(R2)", "USP &lt;1210&gt;", "CLSI EP05-A3",
                             "Cumple sin demostrarlo al 95 %", "aberrante"}) {
        EXPECT_TRUE(extended.contains(QString::fromUtf8(said))) << said;
    }
    EXPECT_TRUE(PageText(PageOfHelpContext(helpcons::kPlanner)).contains("Tomar del estudio"));
}

TEST(HelpBook, TheIndexIsAlphabeticalIgnoringCaseAndAccents) {
    const QList<HelpKeyword>& keywords = HelpKeywords();
    for (qsizetype index = 1; index < keywords.size(); ++index) {
        EXPECT_LE(SearchForm(keywords[index - 1].keyword), SearchForm(keywords[index].keyword));
    }
    EXPECT_EQ(SearchForm(QString::fromUtf8("Precisión ÁNALISIS")), "precision analisis");
}

class HelpWindowTest : public ::testing::Test {
protected:
    TFayuda& Window() {
        QList<TFayuda*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<TFayuda*>(widget)) {
                windows.append(window);
            }
        }
        if (windows.size() != 1) {
            throw std::logic_error("expected one help window");
        }
        return *windows.first();
    }
    QString Shown() {
        return Window().findChild<QTextBrowser*>(QStringLiteral("pagina"))->source().toString();
    }

    WindowHelpViewer viewer{kHelpFile};
};

TEST_F(HelpWindowTest, ShowsTheContentsTheTopicsAndItsOwnHelpInOneWindow) {
    viewer.ShowContents();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Shown(), "qrc:/AYUDA5.HLP/contenido.html");
    viewer.ShowTopic(helpcons::kAnova);
    EXPECT_EQ(Shown(), "qrc:/AYUDA5.HLP/anova.html");
    viewer.ShowTopic(helpcons::kSaveAs);
    EXPECT_EQ(Shown(), "qrc:/AYUDA5.HLP/archivo.html#guardarcomo");
    viewer.ShowHelpOnHelp();
    EXPECT_EQ(Shown(), "qrc:/AYUDA5.HLP/usar_ayuda.html");
    EXPECT_FALSE(Window().findChild<QTextBrowser*>()->toPlainText().isEmpty());
}

TEST_F(HelpWindowTest, TheKeywordSearchFindsAsTheUserTypesAndEnterShowsTheTopic) {
    viewer.SearchKeyword(QString());
    auto* search = Window().findChild<QLineEdit*>(QStringLiteral("ebuscar"));
    auto* index = Window().findChild<QListWidget*>(QStringLiteral("lstindice"));
    ASSERT_TRUE(search && index);
    EXPECT_EQ(search->text(), "");
    EXPECT_EQ(index->count(), HelpKeywords().size());
    QApplication::setActiveWindow(&Window());
    EXPECT_EQ(QApplication::focusWidget(), search);

    QTest::keyClicks(search, "repet");
    EXPECT_EQ(index->currentItem()->text(), "Repetibilidad");
    search->clear();
    QTest::keyClicks(search, "precision");
    EXPECT_EQ(index->currentItem()->text(), QString::fromUtf8("Precisión de método"));
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(index->currentItem()->text(), "Probabilidad (Pfcal)");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(Shown(), "qrc:/AYUDA5.HLP/anova.html#f");
}

TEST_F(HelpWindowTest, ASearchWithNoMatchSaysSoAndEnterShowsNothing) {
    const struct {
        const char* typed;
        const char* note; // empty: a keyword matches
    } cases[] = {
        {"zzz", "Ninguna palabra del índice contiene «zzz»."},
        {"repetibilidadx", "Ninguna palabra del índice contiene «repetibilidadx»."},
        {"repet", ""},
        {"", ""},
    };
    viewer.SearchKeyword(QString());
    auto* search = Window().findChild<QLineEdit*>(QStringLiteral("ebuscar"));
    auto* note = Window().findChild<QLabel*>(QStringLiteral("lblsinresultado"));
    ASSERT_TRUE(search && note);
    for (const auto& row : cases) {
        SCOPED_TRACE(row.typed);
        viewer.ShowContents();
        const QString before = Shown();
        search->clear();
        QTest::keyClicks(search, QString::fromUtf8(row.typed));
        EXPECT_EQ(note->text(), QString::fromUtf8(row.note));
        EXPECT_EQ(note->isVisibleTo(&Window()), *row.note != '\0');
        if (*row.note) {
            QTest::keyClick(search, Qt::Key_Return);
            EXPECT_EQ(Shown(), before) << "no topic for a word the index lacks";
        }
    }
}

} // namespace
} // namespace orbeta
