#include "files/StudyFile.h"
#include "study/Error.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include "support/Expectations.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace orbeta {
namespace {

using testing::ErrorOf;
using testing::SameFieldsAndGrid;

using testing::ReadBytes;
using testing::TemporaryFolder;
using testing::WorkedExample;
using testing::WriteBytes;

using testing::kWorkedExampleFile;

TEST(WriteStudyFile, WritesTheWorkedExampleByteForByte) {
    // The five fields, then analyst 1's results day by day, then analyst 2's.
    const std::string expected = "Valoraci\xF3n\r\n01/06/2001\r\n2\r\n2\r\n3\r\n"
                                 "99.1\r\n100.2\r\n99.8\r\n100.5\r\n99.9\r\n100.1\r\n"
                                 "98.7\r\n99.5\r\n99.0\r\n100.0\r\n99.6\r\n99.3\r\n";
    TemporaryFolder folder;
    WriteStudyFile(folder / "study.w05", WorkedExample(), '.');
    WriteStudyFile(folder / "study.txt", WorkedExample(), '.');
    EXPECT_EQ(ReadBytes(folder / "study.w05"), expected);
    EXPECT_EQ(ReadBytes(folder / "study.txt"), expected);
    EXPECT_EQ(ReadBytes(kWorkedExampleFile), expected) << "the file the other tests read";
}

TEST(WriteStudyFile, WritesTextsAsTheyStand) {
    Study study = WorkedExample();
    study.methodName.clear();
    study.date = " 1 de junio ";
    study.analystCount = " 2";
    study.SetCell(1, 1, "98.50");
    study.SetCell(2, 6, " +9.93e1 ");
    const std::string bytes = StudyFileBytes(study, '.');
    EXPECT_EQ(bytes.substr(0, 23), "\r\n 1 de junio \r\n 2\r\n2\r\n");
    EXPECT_NE(bytes.find("\r\n98.50\r\n"), std::string::npos);
    EXPECT_TRUE(bytes.ends_with("\r\n +9.93e1 \r\n"));
}

TEST(WriteStudyFile, AMissingResultIsTheLineNaAndOpensAgainMissing) {
    TemporaryFolder folder;
    for (const char* file :
         {"missing-replicate.w05", "lost-day.w05", "fewer-days.w05", "largest-missing.w05"}) {
        const std::filesystem::path path = std::filesystem::path(ORBETA_TEST_DATA) / file;
        const std::string original = ReadBytes(path);
        // The five lines as they stand, then each result as the loaded grid shows it: "na" of
        // lost-day.w05 as "NA".
        std::string expected;
        std::size_t end = 0;
        for (int line = 0; line < 5; ++line) {
            end = original.find("\r\n", end) + 2;
        }
        expected = original.substr(0, end);
        for (const std::string& text : ParseStudyFileContents(original).ShownTexts()) {
            expected += text + "\r\n";
        }
        const Study loaded = ReadStudyFile(path, ',');
        WriteStudyFile(folder / file, loaded, ',');
        EXPECT_EQ(ReadBytes(folder / file), expected) << file;
        EXPECT_TRUE(SameFieldsAndGrid(ReadStudyFile(folder / file, ','), loaded)) << file;
    }
    Study study = WorkedExample();
    study.SetCell(1, 2, " na ");
    const std::string bytes = StudyFileBytes(study, '.');
    EXPECT_EQ(bytes.substr(bytes.find("99.1\r\n")), "99.1\r\nNA\r\n99.8\r\n100.5\r\n99.9\r\n"
                                                    "100.1\r\n98.7\r\n99.5\r\n99.0\r\n"
                                                    "100.0\r\n99.6\r\n99.3\r\n");
}

TEST(WriteStudyFile, ASavedStudyOpensAgainAsItWas) {
    TemporaryFolder folder;
    for (char separator : {'.', ','}) {
        const Study loaded = ReadStudyFile(kWorkedExampleFile, separator);
        WriteStudyFile(folder / "again.w05", loaded, separator);
        EXPECT_TRUE(SameFieldsAndGrid(ReadStudyFile(folder / "again.w05", separator), loaded))
            << separator;
    }
}

TEST(WriteStudyFile, WritesThePointWhateverTheRegionalSeparator) {
    Study study = WorkedExample();
    study.SetCell(1, 1, "99,1");
    study.SetCell(1, 2, "100,25");
    for (int analyst = 1; analyst <= 2; ++analyst) {
        for (int row = 1; row <= 6; ++row) {
            std::string text = study.Cell(analyst, row);
            std::replace(text.begin(), text.end(), '.', ',');
            study.SetCell(analyst, row, text);
        }
    }
    const std::string bytes = StudyFileBytes(study, ',');
    EXPECT_NE(bytes.find("\r\n99.1\r\n100.25\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find(','), std::string::npos);
}

TEST(WriteStudyFile, RefusesBeforeWritingWhatCouldNotOpenAgain) {
    TemporaryFolder folder;
    const auto target = folder / "kept.w05";
    WriteBytes(target, "the old study");
    struct Case {
        const char* what;
        void (*spoil)(Study&);
        std::string message;
    };
    const Case cases[] = {
        {"comma under a point", [](Study& s) { s.SetCell(2, 3, "99,0"); },
         "'99,0' is not a valid floating point value"},
        {"empty cell", [](Study& s) { s.SetCell(1, 6, ""); },
         "'' is not a valid floating point value"},
        {"letter outside the code page", [](Study& s) { s.methodName = "Ω titration"; },
         "El nombre del método no se puede guardar: contiene un carácter que el archivo no "
         "admite."},
        {"line break", [](Study& s) { s.date = "01/06\n2001"; },
         "La fecha no se puede guardar: contiene un carácter que el archivo no admite."},
        {"end-of-data byte",
         [](Study& s) {
             s.methodName = std::string("a\x1a"
                                        "b");
         },
         "El nombre del método no se puede guardar: contiene un carácter que el archivo no "
         "admite."},
        {"count not a number", [](Study& s) { s.replicateCount = "x"; },
         "'x' is not a valid integer value"},
        {"counts beyond the format", [](Study& s) { s.analystCount = "11"; },
         "Un archivo de estudio admite de 1 a 10 analistas y de 1 a 100 resultados por "
         "analista."},
        {"result a byte longer than the reader takes, which would open as 1E63",
         [](Study& s) { s.SetCell(1, 1, "1" + std::string(64, '0')); },
         "El dato '1" + std::string(64, '0') +
             "' es demasiado largo para guardarse en el archivo."},
    };
    for (const Case& spoiled : cases) {
        Study study = WorkedExample();
        spoiled.spoil(study);
        EXPECT_EQ(ErrorOf([&] { WriteStudyFile(target, study, '.'); }), spoiled.message)
            << spoiled.what;
        EXPECT_EQ(ReadBytes(target), "the old study") << spoiled.what;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(WriteStudyFile, AResultAsLongAsTheReaderTakesOpensAgainEqual) {
    Study study = WorkedExample();
    study.SetCell(1, 1, "  1" + std::string(63, '0') + " ");
    EXPECT_EQ(ParseStudyFile(StudyFileBytes(study, '.'), '.').Cell(1, 1), "1E63");
}

TEST(WriteStudyFile, NewFilesAreReadableByAllAndReplacedOnesKeepTheirPermissions) {
    TemporaryFolder folder;
    const auto target = folder / "study.w05";
    WriteBytes(target, "an older, longer study than the one about to replace it ..............");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    const mode_t previousMask = ::umask(022);
    WriteStudyFile(target, WorkedExample(), '.');
    WriteStudyFile(folder / "new.w05", WorkedExample(), '.');
    ::umask(previousMask);
    EXPECT_EQ(ReadBytes(target), ReadBytes(kWorkedExampleFile));
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::filesystem::status(folder / "new.w05").permissions(),
              std::filesystem::perms(0644));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

TEST(WriteStudyFile, SavingThroughALinkReplacesTheLinkedFile) {
    TemporaryFolder folder;
    WriteBytes(folder / "real.w05", "old");
    std::filesystem::create_symlink(folder / "real.w05", folder / "link.w05");
    WriteStudyFile(folder / "link.w05", WorkedExample(), '.');
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.w05"));
    EXPECT_EQ(ReadBytes(folder / "real.w05"), ReadBytes(kWorkedExampleFile));
}

TEST(WriteStudyFile, ReportsFileErrorsAndLeavesTheOldFile) {
    TemporaryFolder folder;
    const auto readOnly = folder / "read-only.w05";
    WriteBytes(readOnly, "protected");
    std::filesystem::permissions(readOnly, std::filesystem::perms(0444));
    EXPECT_EQ(ErrorOf([&] { WriteStudyFile(readOnly, WorkedExample(), '.'); }),
              "File access denied");
    EXPECT_EQ(ReadBytes(readOnly), "protected");
    EXPECT_EQ(ErrorOf([&] { WriteStudyFile(folder / "missing" / "s.w05", WorkedExample(), '.'); }),
              "Invalid filename");
    EXPECT_EQ(ErrorOf([&] { WriteStudyFile(folder.Path(), WorkedExample(), '.'); }),
              "File access denied");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

// A full disk is real here: a tiny in-memory file system, mounted in a mount namespace of this
// test's own so that nothing outside the test sees it. Needs the rights to make one; ReplaceFile's
// own tests fail a write on every machine.
TEST(WriteStudyFile, FullDiskKeepsTheOldFile) {
    TemporaryFolder folder;
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.Path().c_str(), "tmpfs", 0, "size=8k") != 0) {
        GTEST_SKIP() << "this test needs the rights to mount a small file system";
    }
    const auto target = folder / "study.w05";
    WriteBytes(target, "the old study");
    WriteBytes(folder / "filler", std::string(4096, 'f'));
    Study large = testing::LargestStudy();
    large.methodName = std::string(5000, 'm');
    EXPECT_EQ(ErrorOf([&] { WriteStudyFile(target, large, '.'); }), "Disk full");
    EXPECT_EQ(ReadBytes(target), "the old study");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
    ::umount(folder.Path().c_str());
}

} // namespace
} // namespace orbeta
