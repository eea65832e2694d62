#include "CaptureWindowFixture.h"

#include "support/Expectations.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include "files/RecoveryCopy.h"
#include "files/StudyFile.h"
#include "ui/Ufanova.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>

namespace orbeta {
namespace {

using testing::CaptureWindowTest;
using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WriteBytes;

const QString kW05Type = QStringLiteral("Orbeta v. w3.0 (*.w05)");
const QString kTxtType = QStringLiteral("Archivo de Texto (*.txt)");

QString NameOf(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

class FileCommandsTest : public CaptureWindowTest {
protected:
    // The worked example, typed as a chemist types it.
    void TypeWorkedExample() {
        NewStudy();
        Type(QString::fromUtf8("Valoración"));
        Retype("efecha", QStringLiteral("01/06/2001"));
        FillGrid({"99.1", "98.7", "100.2", "99.5", "99.8", "99", "100.5", "100", "99.9", "99.6",
                  "100.1", "99.3"});
    }
    void QueueFile(const std::filesystem::path& path, const QString& type = kW05Type) {
        platform.fileDialogs.QueueAnswer(ChosenFile{NameOf(path), type});
    }
    void OpenFile(const std::filesystem::path& path) {
        QueueFile(path);
        Command("FileOpenItem").trigger();
        QApplication::processEvents();
    }
    bool CloseCapture() {
        QPointer<TFinforma> capture = Capture();
        Command("mnuclose").trigger();
        QApplication::processEvents();
        return capture.isNull();
    }
    bool Enabled(const char* name) { return Command(name).isEnabled(); }
    // Types into one cell as the user does: on a loaded study, that makes Save available.
    void TypeInCell(int column, int row, const QString& text) {
        Grid().setFocus();
        Grid().SetCurrentCell(column, row);
        QApplication::processEvents();
        Type(text);
    }

    TemporaryFolder folder;
};

TEST_F(FileCommandsTest, CancellingOpenChangesNothing) {
    platform.fileDialogs.QueueAnswer(std::nullopt);
    Command("FileOpenItem").trigger();
    ASSERT_EQ(platform.fileDialogs.OpenDialogsShown().size(), 1u);
    const FileDialogSettings& shown = platform.fileDialogs.OpenDialogsShown().front();
    EXPECT_EQ(shown.title, "Abrir archivo");
    EXPECT_EQ(shown.fileTypes, QStringList({kW05Type, kTxtType}));
    EXPECT_EQ(shown.selectedFileType, kW05Type);
    EXPECT_EQ(shown.defaultExtension, "w05");
    EXPECT_EQ(shown.proposedName, "");
    EXPECT_EQ(Capture(), nullptr);
    EXPECT_TRUE(Enabled("FileNewItem"));
    EXPECT_FALSE(Enabled("mnuclose"));
}

TEST_F(FileCommandsTest, OpenShowsTheFileAndMakesTheCalculationsAvailable) {
    OpenFile(testing::kWorkedExampleFile);
    ASSERT_NE(Capture(), nullptr);
    EXPECT_EQ(Capture()->windowTitle(), NameOf(testing::kWorkedExampleFile));
    EXPECT_TRUE(testing::SameFieldsAndGrid(Capture()->StudySnapshot(),
                                           ReadStudyFile(testing::kWorkedExampleFile, '.')));
    EXPECT_EQ(Field("emetodo").text(), QString::fromUtf8("Valoración"));
    EXPECT_EQ(Grid().CellText(1, 3), "99.8");
    EXPECT_EQ(Grid().CellText(2, 3), "99") << "as the reader shows 99.0";
    EXPECT_EQ(Mark(), "");
    for (const char* name : {"mnuclose", "PrintLasser", "WindowTileItem", "mnuanova", "mnuinforme",
                             "mnuampliado", "pmnuanalisis", "pmnuprecs", "pmnuampliado"}) {
        EXPECT_TRUE(Enabled(name)) << name;
    }
    for (const char* name : {"FileNewItem", "FileOpenItem", "FileSaveItem", "FileSaveAsItem"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // The Open dialog proposes the file last chosen in it, with its type.
    ASSERT_TRUE(CloseCapture());
    platform.fileDialogs.QueueAnswer(std::nullopt);
    Command("FileOpenItem").trigger();
    EXPECT_EQ(platform.fileDialogs.OpenDialogsShown().back().proposedName,
              NameOf(testing::kWorkedExampleFile));
}

TEST_F(FileCommandsTest, AFailedOpenLeavesNoWindowBehind) {
    struct Case {
        std::string bytes;
        QString report;
    };
    const Case cases[] = {
        {"M\r\nF\r\n2\r\n2\r\n2\r\n1,5\r\n", QStringLiteral("Invalid numeric input.")},
        // A binary file: its NUL bytes must not cut the message short.
        {"M\r\nF\r\n\177ELF\2\1\1" + std::string(50, '\0') + "\r\n2\r\n2\r\n",
         QString::fromUtf8("'?ELF" + std::string(36, '?') + "…' is not a valid integer value.")},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.report.toStdString());
        platform.messages = {};
        const auto damaged = folder / "damaged.w05";
        WriteBytes(damaged, row.bytes);
        OpenFile(damaged);
        EXPECT_EQ(ErrorReports(), QStringList({row.report}));
        EXPECT_EQ(Capture(), nullptr);
        EXPECT_TRUE(Enabled("FileNewItem"));
        EXPECT_TRUE(Enabled("FileOpenItem"));
        EXPECT_FALSE(Enabled("mnuclose"));
        EXPECT_FALSE(Enabled("mnuanova"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST_F(FileCommandsTest, OpeningAndSavingAFileChangesNoValue) {
    // Results of more than six significant digits, one with a trailing zero and one that the
    // result format writes in scientific notation, under the comma separator.
    platform.regionalSettings = testing::FixedRegionalSettings(',');
    const auto file = folder / "pesadas.w05";
    const std::string header = "Pesadas\r\n09/12/2026\r\n2\r\n2\r\n2\r\n";
    WriteBytes(file, header + "1234567\r\n1234567\r\n1234568\r\n1234568\r\n"
                              "1E-5\r\n3E-5\r\n100.000049\r\n98.50\r\n");
    OpenFile(file);
    ASSERT_NE(Capture(), nullptr);
    QStringList cells;
    for (int analyst = 1; analyst <= 2; ++analyst) {
        for (int row = 1; row <= 4; ++row) {
            cells.append(Grid().CellText(analyst, row));
        }
    }
    EXPECT_EQ(cells, QStringList({"1234567", "1234567", "1234568", "1234568", "1E-5", "3E-5",
                                  "100,000049", "98,5"}));

    // The figures of the exact results, by exact rational arithmetic and the approximation of
    // the F probability computed on their own.
    Command("mnuanova").trigger();
    QApplication::processEvents();
    const auto* anova = mainWindow.findChild<TfinfoA*>();
    ASSERT_NE(anova, nullptr);
    const auto& table = *anova->findChild<QTableWidget*>(QStringLiteral("stganova"));
    QStringList sources;
    for (int row = 3; row < 6; ++row) {
        QStringList rowCells;
        for (int column = 0; column < 6; ++column) {
            rowCells.append(table.item(row, column)->text());
        }
        sources.append(rowCells.join('|'));
    }
    EXPECT_EQ(sources, QStringList({"ANALISTA|1|3,04807E12|3,04807E12|6,18799E8|8,78905E-5",
                                    "DIA|2|9851,56|4925,78|17512,7|0,000134681",
                                    QString::fromUtf8("ERROR DE MÉTODO|4|1,12507|0,281268||")}));

    // Retyping the last result makes Save available; it writes every value as the file had it.
    TypeInCell(2, 4, QStringLiteral("98,5"));
    ASSERT_TRUE(Enabled("FileSaveItem"));
    Command("FileSaveItem").trigger();
    EXPECT_TRUE(ErrorReports().isEmpty());
    EXPECT_EQ(ReadBytes(file), header + "1234567\r\n1234567\r\n1234568\r\n1234568\r\n"
                                        "1E-5\r\n3E-5\r\n100.000049\r\n98.5\r\n");
}

// The program started with a file name opens it as Open does after its dialog.
TEST_F(FileCommandsTest, AFileNamedAtStartOpensAsOpenOpensIt) {
    const auto damaged = folder / "coma.w05";
    WriteBytes(damaged, "M\r\nF\r\n2\r\n2\r\n2\r\n1,5\r\n");
    const auto missing = folder / "falta.w05";
    struct Case {
        std::filesystem::path file;
        bool opens;
        QStringList errorReports;
    };
    const Case cases[] = {
        {testing::kWorkedExampleFile, true, {}},
        {damaged, false, {"Invalid numeric input."}},
        {missing, false, {"File not found."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        platform.messages = {};
        mainWindow.OpenStudyFile(FileNameOf(NameOf(c.file)));
        QApplication::processEvents();
        EXPECT_EQ(ErrorReports(), c.errorReports);
        EXPECT_EQ(platform.fileDialogs.OpenDialogsShown().size(), 0u) << "no dialog is shown";
        EXPECT_EQ(Capture() != nullptr, c.opens);
        EXPECT_EQ(Enabled("FileOpenItem"), !c.opens);
        EXPECT_EQ(Enabled("mnuanova"), c.opens);
        EXPECT_EQ(Enabled("WindowTileItem"), c.opens);
        EXPECT_FALSE(Enabled("FileSaveItem"));
        if (c.opens) {
            EXPECT_EQ(Capture()->windowTitle(), NameOf(c.file));
            mainWindow.OpenStudyFile(FileNameOf(NameOf(c.file)));
            EXPECT_EQ(mainWindow.findChildren<TFinforma*>().size(), 1) << "never a second one";
            EXPECT_EQ(ErrorReports(), QStringList());
            ASSERT_TRUE(CloseCapture());
        }
        // The Open dialog then proposes the file, as after an Open through it.
        platform.fileDialogs.QueueAnswer(std::nullopt);
        Command("FileOpenItem").trigger();
        EXPECT_EQ(platform.fileDialogs.OpenDialogsShown().back().proposedName, NameOf(c.file));
        platform.fileDialogs = {};
    }
}

TEST_F(FileCommandsTest, ALongNameFromAFileIsShownAndSavedWhole) {
    const std::string longName(80, 'M');
    const auto file = folder / "largo.w05";
    WriteBytes(file,
               longName +
                   "\r\n01/06/2001\r\n2\r\n2\r\n2\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    OpenFile(file);
    EXPECT_EQ(Field("emetodo").text().size(), 80);
    Field("emetodo").setFocus();
    Field("emetodo").end(false);
    Type(QStringLiteral("X"));
    EXPECT_EQ(Field("emetodo").text().size(), 80) << "typing never makes it longer";
    Press(Qt::Key_Backspace);
    Type(QStringLiteral("XY"));
    EXPECT_EQ(Field("emetodo").text().toStdString(), std::string(79, 'M') + "X");

    platform.messages.QueueSaveAnswer(true);
    ASSERT_TRUE(CloseCapture());
    EXPECT_EQ(ReadBytes(file).substr(0, 82), std::string(79, 'M') + "X\r\n");
}

TEST_F(FileCommandsTest, SaveOfANewStudyProposesNuevoAndSaveAsTheLastName) {
    TypeWorkedExample();
    const auto first = folder / "primero.w05";
    QueueFile(first);
    Command("FileSaveItem").trigger();
    ASSERT_EQ(platform.fileDialogs.SaveDialogsShown().size(), 1u);
    const FileDialogSettings& shown = platform.fileDialogs.SaveDialogsShown().back();
    EXPECT_EQ(shown.title, "Guardar como");
    EXPECT_EQ(shown.proposedName, "Nuevo");
    EXPECT_EQ(shown.fileTypes, QStringList({kW05Type, kTxtType}));
    EXPECT_EQ(shown.defaultExtension, "w05");
    EXPECT_EQ(Capture()->windowTitle(), NameOf(first));
    EXPECT_EQ(Mark(), "");
    EXPECT_EQ(ReadBytes(first), "Valoraci\xf3n\r\n01/06/2001\r\n2\r\n2\r\n3\r\n"
                                "99.1\r\n100.2\r\n99.8\r\n100.5\r\n99.9\r\n100.1\r\n"
                                "98.7\r\n99.5\r\n99\r\n100\r\n99.6\r\n99.3\r\n");

    // A later Save writes without asking.
    Retype("efecha", QStringLiteral("02/06/2001"));
    Command("FileSaveItem").trigger();
    EXPECT_EQ(platform.fileDialogs.SaveDialogsShown().size(), 1u);
    EXPECT_NE(ReadBytes(first).find("02/06/2001"), std::string::npos);

    platform.messages.QueueSaveAnswer(false);
    ASSERT_TRUE(CloseCapture());
    TypeWorkedExample();
    platform.fileDialogs.QueueAnswer(std::nullopt);
    platform.fileDialogs.QueueAnswer(std::nullopt);
    Command("FileSaveAsItem").trigger();
    Command("FileSaveItem").trigger();
    ASSERT_EQ(platform.fileDialogs.SaveDialogsShown().size(), 3u);
    EXPECT_EQ(platform.fileDialogs.SaveDialogsShown()[1].proposedName, NameOf(first));
    EXPECT_EQ(platform.fileDialogs.SaveDialogsShown()[2].proposedName, "Nuevo");
    EXPECT_EQ(Capture()->windowTitle(), "Nuevo");
    EXPECT_EQ(Mark(), "Modificado");
}

TEST_F(FileCommandsTest, AStudySavedAndOpenedAgainIsTheSameUnderEitherType) {
    for (const QString& type : {kW05Type, kTxtType}) {
        SCOPED_TRACE(type.toStdString());
        TypeWorkedExample();
        const Study typed = Capture()->StudySnapshot();
        const auto file = folder / (type == kW05Type ? "estudio.w05" : "estudio.txt");
        QueueFile(file, type);
        Command("FileSaveAsItem").trigger();
        ASSERT_TRUE(CloseCapture());
        OpenFile(file);
        ASSERT_NE(Capture(), nullptr);
        EXPECT_TRUE(testing::SameFieldsAndGrid(Capture()->StudySnapshot(), typed));
        ASSERT_TRUE(CloseCapture());
    }
    EXPECT_EQ(ReadBytes(folder / "estudio.w05"), ReadBytes(folder / "estudio.txt"));

    // The Save dialog opens next with the type last confirmed in it.
    TypeWorkedExample();
    platform.fileDialogs.QueueAnswer(std::nullopt);
    Command("FileSaveAsItem").trigger();
    EXPECT_EQ(platform.fileDialogs.SaveDialogsShown().back().selectedFileType, kTxtType);
}

TEST_F(FileCommandsTest, AFailedSaveKeepsTheMarkAndTheOldFile) {
    const auto file = folder / "protegido.w05";
    std::filesystem::copy_file(testing::kWorkedExampleFile, file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    const std::string before = ReadBytes(file);
    OpenFile(file);
    TypeInCell(2, 6, QStringLiteral("1"));
    ASSERT_TRUE(Enabled("FileSaveItem"));
    Command("FileSaveItem").trigger();
    EXPECT_EQ(ErrorReports(), QStringList({"File access denied."}));
    EXPECT_EQ(Mark(), "Modificado");
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FileCommandsTest, AFailedCheckBringsTheCaptureWindowForward) {
    TypeWorkedExample();
    Grid().SetCellText(2, 3, QString());
    auto* result = new QLineEdit;
    QMdiSubWindow* resultFrame =
        mainWindow.AddChildWindow(result, TMainForm::ChildKind::ResultWindow);
    result->setFocus();
    QApplication::processEvents();
    Command("FileSaveAsItem").trigger();
    EXPECT_EQ(Messages(),
              QStringList({QString::fromUtf8(
                  "Falta capturar el dato para el Analista 2, Día 1, Replicación 3.")}));
    EXPECT_NE(Find<QMdiArea>(QString()).activeSubWindow(), resultFrame);
    EXPECT_EQ(Page(), "Captura Datos");
    EXPECT_EQ(Focus(), "stgdatos");
    EXPECT_TRUE(platform.fileDialogs.SaveDialogsShown().empty());
}

TEST_F(FileCommandsTest, AFieldTheFileCannotHoldIsRefusedAtSaveTime) {
    TypeWorkedExample();
    Retype("emetodo", QString::fromUtf8("Valoración Ω"));
    QueueFile(folder / "griego.w05");
    Command("FileSaveAsItem").trigger();
    EXPECT_EQ(ErrorReports(),
              QStringList({QString::fromUtf8("El nombre del método no se puede guardar: contiene "
                                             "un carácter que el archivo no admite.")}));
    EXPECT_FALSE(std::filesystem::exists(folder / "griego.w05"));
    EXPECT_EQ(Field("emetodo").text(), QString::fromUtf8("Valoración Ω"));
    EXPECT_EQ(Capture()->windowTitle(), "Nuevo");
}

TEST_F(FileCommandsTest, SaveTakesNaAsAResultAndRefusesAStudyThatLacksWhatItsAnalysisNeeds) {
    struct Case {
        const char* command;
        std::vector<QPoint> missing;   // analyst, row: "na" put there
        std::optional<QPoint> emptied; // a cell emptied as well
        std::string written;           // the file's results, analyst by analyst; "": none
        QString message;
    };
    const Case cases[] = {
        {"FileSaveAsItem",
         {{2, 4}},
         {},
         "99.1 100.2 99.8 100.5 99.9 100.1 98.7 99.5 99 NA 99.6 99.3",
         {}},
        {"FileSaveItem",
         {{1, 1}, {1, 2}, {1, 3}},
         {},
         "NA NA NA 100.5 99.9 100.1 98.7 99.5 99 100 99.6 99.3",
         {}},
        {"FileSaveItem",
         {{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}},
         {},
         "",
         "Al Analista 2 le faltan todos sus resultados: cada analista necesita al menos uno."},
        {"FileSaveAsItem",
         {{1, 2}},
         QPoint(2, 3),
         "",
         QString::fromUtf8("Falta capturar el dato para el Analista 2, Día 1, Replicación 3.")},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.message.isEmpty() ? row.written : row.message.toStdString());
        TypeWorkedExample();
        for (const QPoint cell : row.missing) {
            Grid().SetCellText(cell.x(), cell.y(), QStringLiteral("na"));
        }
        if (row.emptied) {
            Grid().SetCellText(row.emptied->x(), row.emptied->y(), QString());
        }
        const Study before = Capture()->StudySnapshot();
        const auto file = folder / "faltantes.w05";
        std::filesystem::remove(file);
        if (row.message.isEmpty()) {
            QueueFile(file);
        }
        Command(row.command).trigger();
        QApplication::processEvents();
        EXPECT_EQ(Messages(), row.message.isEmpty() ? QStringList() : QStringList(row.message));
        EXPECT_TRUE(ErrorReports().isEmpty());
        if (row.written.empty()) {
            EXPECT_TRUE(platform.fileDialogs.SaveDialogsShown().empty());
            EXPECT_FALSE(std::filesystem::exists(file));
            EXPECT_EQ(Mark(), "Modificado");
            EXPECT_EQ(Page(), "Captura Datos");
            EXPECT_EQ(Focus(), "stgdatos");
        } else {
            std::string results;
            std::istringstream words(row.written);
            for (std::string word; words >> word;) {
                results += word + "\r\n";
            }
            EXPECT_EQ(ReadBytes(file), "Valoraci\xf3n\r\n01/06/2001\r\n2\r\n2\r\n3\r\n" + results);
            EXPECT_EQ(Mark(), "");
        }
        EXPECT_TRUE(testing::SameFieldsAndGrid(Capture()->StudySnapshot(), before));
        DiscardStudy();
        platform.fileDialogs = {};
    }
}

// --- The close question --------------------------------------------------------------------

enum class Answer {
    NotAsked,
    No,
    Cancel,
    YesCheckFails,
    YesDialogCancelled,
    YesWriteFails,
    YesSaved
};

struct CloseCase {
    const char* name;
    Answer answer;
    bool closes;
    const char* markAfter;
};

TEST_F(FileCommandsTest, TheCloseQuestionNeverLosesAStudy) {
    const CloseCase cases[] = {
        {"unmodified", Answer::NotAsked, true, " "},
        {"no", Answer::No, true, " "},
        {"cancel", Answer::Cancel, false, "Modificado"},
        {"yes, a check fails", Answer::YesCheckFails, false, "Modificado"},
        {"yes, the dialog is cancelled", Answer::YesDialogCancelled, false, "Modificado"},
        {"yes, the file cannot be written", Answer::YesWriteFails, false, "Modificado"},
        {"yes, saved", Answer::YesSaved, true, " "},
    };
    for (const CloseCase& row : cases) {
        SCOPED_TRACE(row.name);
        TypeWorkedExample();
        const auto file = folder / "cerrar.w05";
        switch (row.answer) {
        case Answer::NotAsked:
            mainWindow.Document().SetMark(StudyDocument::Mark::Unchanged);
            break;
        case Answer::No:
            platform.messages.QueueSaveAnswer(false);
            break;
        case Answer::Cancel:
            platform.messages.QueueCloseAnswer(MessageBoxes::CloseAnswer::Cancel);
            break;
        case Answer::YesCheckFails:
            Grid().SetCellText(1, 1, QString());
            platform.messages.QueueSaveAnswer(true);
            break;
        case Answer::YesDialogCancelled:
            platform.messages.QueueSaveAnswer(true);
            platform.fileDialogs.QueueAnswer(std::nullopt);
            break;
        case Answer::YesWriteFails:
            platform.messages.QueueSaveAnswer(true);
            QueueFile(folder / "no-existe" / "cerrar.w05");
            break;
        case Answer::YesSaved:
            platform.messages.QueueSaveAnswer(true);
            QueueFile(file);
            break;
        }
        const int asked = platform.messages.SaveQuestionsAsked();
        // Through "Salir": a study that stays open keeps the program running.
        Command("FileExitItem").trigger();
        QApplication::processEvents();
        EXPECT_EQ(platform.messages.SaveQuestionsAsked() - asked,
                  row.answer == Answer::NotAsked ? 0 : 1);
        EXPECT_EQ(Capture() == nullptr, row.closes);
        EXPECT_EQ(mainWindow.isVisible(), !row.closes);
        EXPECT_EQ(Mark(), row.markAfter);
        EXPECT_EQ(std::filesystem::exists(file), row.answer == Answer::YesSaved);
        if (!row.closes) {
            platform.messages.QueueSaveAnswer(false);
            ASSERT_TRUE(CloseCapture());
        }
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
    }
}

// "Cancelar" (Escape, the box's close button) keeps the program and the study, however the
// closing came: the menu's "&Cerrar", "&Salir", or the window manager closing the main window.
TEST_F(FileCommandsTest, CancellingTheCloseQuestionKeepsTheProgramAndTheStudy) {
    const std::function<void()> closings[] = {
        [&] { Command("mnuclose").trigger(); },
        [&] { Command("FileExitItem").trigger(); },
        [&] { mainWindow.close(); },
    };
    TypeWorkedExample();
    const Study typed = Capture()->StudySnapshot();
    for (const auto& close : closings) {
        platform.messages.QueueCloseAnswer(MessageBoxes::CloseAnswer::Cancel);
        close();
        QApplication::processEvents();
        ASSERT_NE(Capture(), nullptr);
        EXPECT_TRUE(mainWindow.isVisible());
        EXPECT_TRUE(testing::SameFieldsAndGrid(Capture()->StudySnapshot(), typed));
        EXPECT_EQ(Mark(), "Modificado");
    }
    EXPECT_EQ(platform.messages.SaveQuestionsAsked(), 3);
}

// A file that another program replaced or changed after the study was opened is not
// overwritten without a word; one deleted since is simply written again.
TEST_F(FileCommandsTest, ASaveOverAFileChangedOnTheDiskAsksFirst) {
    using Changed = MessageBoxes::ChangedFileAnswer;
    enum class Outside { Replaced, Deleted, Untouched };
    struct Case {
        const char* name;
        Outside outside;
        std::optional<Changed> answer;
        bool ours;
        const char* markAfter;
    };
    const Case cases[] = {
        {"replaced, Reemplazar", Outside::Replaced, Changed::Replace, true, ""},
        {"replaced, Guardar como...", Outside::Replaced, Changed::SaveAs, false, ""},
        {"replaced, Cancelar", Outside::Replaced, Changed::Cancel, false, "Modificado"},
        {"deleted", Outside::Deleted, std::nullopt, true, ""},
        {"untouched", Outside::Untouched, std::nullopt, true, ""},
    };
    const std::string theirs = "Otro estudio\r\n";
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        platform.messages = {};
        const auto file = folder / "compartido.w05";
        const auto elsewhere = folder / "otro-nombre.w05";
        std::filesystem::remove(elsewhere);
        std::filesystem::copy_file(testing::kWorkedExampleFile, file,
                                   std::filesystem::copy_options::overwrite_existing);
        OpenFile(file);
        TypeInCell(2, 6, QStringLiteral("1"));
        if (row.outside == Outside::Replaced) {
            WriteBytes(folder / "nuevo", theirs);
            std::filesystem::rename(folder / "nuevo", file);
        } else if (row.outside == Outside::Deleted) {
            std::filesystem::remove(file);
        }
        if (row.answer) {
            platform.messages.QueueChangedFileAnswer(*row.answer);
        }
        if (row.answer == Changed::SaveAs) {
            QueueFile(elsewhere);
        }
        Command("FileSaveItem").trigger();
        QApplication::processEvents();
        EXPECT_EQ(platform.messages.ChangedFileQuestionsAsked(), row.answer ? 1 : 0);
        EXPECT_EQ(ReadBytes(file) == theirs, !row.ours && row.outside == Outside::Replaced);
        EXPECT_EQ(ReadBytes(file).substr(0, 10) == "Valoraci\xf3n", row.ours);
        EXPECT_EQ(std::filesystem::exists(elsewhere), row.answer == Changed::SaveAs);
        EXPECT_EQ(Mark(), row.markAfter);
        EXPECT_TRUE(ErrorReports().isEmpty());
        // Once written, the file is the study's again: the next save asks nothing.
        if (row.ours) {
            TypeInCell(2, 6, QStringLiteral("2"));
            Command("FileSaveItem").trigger();
            EXPECT_EQ(platform.messages.ChangedFileQuestionsAsked(), row.answer ? 1 : 0);
        }
        DiscardStudy();
    }
}

// A name that is not valid UTF-8 reaches the system with its own bytes, from the command line
// and from the file dialog, which gives it back with replacement characters.
TEST_F(FileCommandsTest, AFileWhoseNameIsNotUtf8Opens) {
    const std::filesystem::path file = folder.Path() / std::string("bad\xff\xfe.w05");
    std::filesystem::copy_file(testing::kWorkedExampleFile, file);
    const QString shown = QFile::decodeName(file.c_str());
    ASSERT_TRUE(shown.contains(QChar::ReplacementCharacter));
    const std::function<void()> opens[] = {
        [&] { mainWindow.OpenStudyFile(FileNameOf(file)); },
        [&] {
            platform.fileDialogs.QueueAnswer(ChosenFile{shown, kW05Type});
            Command("FileOpenItem").trigger();
        },
    };
    for (const auto& open : opens) {
        open();
        QApplication::processEvents();
        EXPECT_EQ(ErrorReports(), QStringList());
        ASSERT_NE(Capture(), nullptr);
        EXPECT_EQ(Capture()->windowTitle(), shown);
        // Saved, it is the same file that takes the study.
        TypeInCell(2, 6, QStringLiteral("7"));
        Command("FileSaveItem").trigger();
        EXPECT_EQ(ReadBytes(file).substr(ReadBytes(file).size() - 3), "7\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
        ASSERT_TRUE(CloseCapture());
    }
}

std::size_t RecoveryCopiesIn(const std::filesystem::path& folder) {
    std::size_t copies = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        copies += entry->path().extension() == ".recovery" ? 1 : 0;
    }
    return copies;
}

// A changed study has a recovery copy a moment after the last change, until it is saved or the
// user lets its changes go; a cancelled close keeps it.
TEST_F(FileCommandsTest, ARecoveryCopyLastsUntilTheStudyIsSavedOrLetGo) {
    enum class End { Saved, No, Cancel };
    const std::pair<End, std::size_t> cases[] = {{End::Saved, 0}, {End::No, 0}, {End::Cancel, 1}};
    const auto state = folder / "state";
    mainWindow.Document().SetRecoveryFolder(state);
    for (const auto& [end, copiesAfter] : cases) {
        TypeWorkedExample();
        EXPECT_EQ(RecoveryCopiesIn(state), 0u) << "not at once";
        EXPECT_TRUE(QTest::qWaitFor([&] { return RecoveryCopiesIn(state) == 1; },
                                    3 * StudyDocument::kRecoveryDelay));
        switch (end) {
        case End::Saved:
            QueueFile(folder / "guardado.w05");
            Command("FileSaveItem").trigger();
            break;
        case End::No:
            platform.messages.QueueSaveAnswer(false);
            Command("mnuclose").trigger();
            break;
        case End::Cancel:
            platform.messages.QueueCloseAnswer(MessageBoxes::CloseAnswer::Cancel);
            Command("mnuclose").trigger();
            break;
        }
        QApplication::processEvents();
        EXPECT_EQ(RecoveryCopiesIn(state), copiesAfter);
        // The next start finds nothing to offer but what is still unsaved; this run holds it.
        TMainForm nextStart(platform.Seams());
        nextStart.Document().SetRecoveryFolder(state);
        nextStart.OfferRecoveryCopies();
        EXPECT_TRUE(platform.messages.RecoverQuestions().isEmpty());
        if (Capture()) {
            DiscardStudy();
        }
    }
}

// The offer names the study's file and the time of the copy, and a complete study that an
// interrupted save of that file left beside it.
TEST_F(FileCommandsTest, TheRecoveryOfferNamesTheFileTheTimeAndAnInterruptedSave) {
    const auto state = folder / "state";
    const auto file = folder / "lote 23-114.w05";
    std::filesystem::copy_file(testing::kWorkedExampleFile, file);
    std::filesystem::copy_file(testing::kWorkedExampleFile, folder / ".lote 23-114.w05.Xy12Zw");
    const QDateTime taken(QDate(2026, 12, 9), QTime(16, 45));
    {
        const RecoverySlot slot = RecoverySlot::Create(state);
        slot.Write(
            {file.string(), IdentityOf(file), taken.toSecsSinceEpoch(), testing::WorkedExample()});
    }
    mainWindow.Document().SetRecoveryFolder(state);
    const QString offer = QString::fromUtf8("Se encontró un estudio sin guardar de «%1» "
                                            "(09/12/2026 16:45). ¿Recuperarlo?\n\nUn guardado "
                                            "interrumpido dejó además el estudio completo en "
                                            "«%2».")
                              .arg(NameOf(file), NameOf(folder / ".lote 23-114.w05.Xy12Zw"));
    // "Más tarde" keeps the copy for the next start; only No lets it go.
    using Recover = MessageBoxes::RecoverAnswer;
    for (const auto& [answer, copiesAfter] :
         {std::pair{Recover::Later, 1u}, std::pair{Recover::Discard, 0u}}) {
        platform.messages = {};
        platform.messages.QueueRecoverAnswer(answer);
        mainWindow.OfferRecoveryCopies();
        EXPECT_EQ(platform.messages.RecoverQuestions(), QStringList({offer}));
        EXPECT_EQ(Capture(), nullptr);
        EXPECT_EQ(RecoveryCopiesIn(state), copiesAfter);
    }
}

// A recovered study knows its file as the run that ended knew it: another program's change made
// meanwhile is noticed at the first save; the study comes back whole and modified.
TEST_F(FileCommandsTest, ARecoveredStudyNoticesAChangeOfItsFileMadeWhileTheProgramWasDown) {
    const auto state = folder / "state";
    const auto file = folder / "estudio.w05";
    std::filesystem::copy_file(testing::kWorkedExampleFile, file);
    Study changed = testing::WorkedExample();
    changed.SetCell(2, 6, "100.4");
    {
        const RecoverySlot slot = RecoverySlot::Create(state);
        slot.Write({file.string(), IdentityOf(file), 0, changed});
    }
    WriteBytes(folder / "nuevo", "Otro estudio\r\n");
    std::filesystem::rename(folder / "nuevo", file);
    mainWindow.Document().SetRecoveryFolder(state);
    platform.messages.QueueRecoverAnswer(MessageBoxes::RecoverAnswer::Recover);
    mainWindow.OfferRecoveryCopies();
    ASSERT_NE(Capture(), nullptr);
    EXPECT_TRUE(testing::SameFieldsAndGrid(Capture()->StudySnapshot(), changed));
    EXPECT_EQ(Capture()->windowTitle(), NameOf(file));
    EXPECT_EQ(Mark(), "Modificado");
    ASSERT_TRUE(Enabled("FileSaveItem"));
    platform.messages.QueueChangedFileAnswer(MessageBoxes::ChangedFileAnswer::Cancel);
    Command("FileSaveItem").trigger();
    EXPECT_EQ(platform.messages.ChangedFileQuestionsAsked(), 1);
    EXPECT_EQ(ReadBytes(file), "Otro estudio\r\n");
    EXPECT_EQ(RecoveryCopiesIn(state), 1u) << "still unsaved";
    DiscardStudy();
    EXPECT_EQ(RecoveryCopiesIn(state), 0u);
}

} // namespace
} // namespace orbeta
