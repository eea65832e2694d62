#include "support/Processes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace orbeta {
namespace {

const std::filesystem::path kData = ORBETA_TEST_DATA;

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// `orbeta --record` run as a script runs it: no display, the C locale.
testing::Outcome Record(const std::string& arguments) {
    return testing::RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C " +
                               std::string(ORBETA_PROGRAM) + " --record " + arguments);
}

// The record's text as pdftotext lays it out, the export's date and time, which change from
// run to run, put as «FECHA».
std::string LaidOutText(const std::filesystem::path& pdf) {
    const testing::Outcome text =
        testing::RunCommand("LC_ALL=C pdftotext -layout " + Quoted(pdf) + " -");
    EXPECT_EQ(text.status, 0) << text.err;
    return std::regex_replace(text.out, std::regex("Exportado: [0-9/]+ [0-9:]+"),
                              "Exportado: FECHA");
}

// A word of the record where pdftotext -bbox finds it, in points from the page's top left.
struct Word {
    int page = 0; // from 1
    double left = 0;
    double top = 0;
    double bottom = 0;
    std::string text;
};

std::vector<Word> WordsOf(const std::filesystem::path& pdf) {
    const testing::Outcome boxes = testing::RunCommand("pdftotext -bbox " + Quoted(pdf) + " -");
    EXPECT_EQ(boxes.status, 0) << boxes.err;
    std::vector<Word> words;
    int page = 0;
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::size_t start = 0;
    while (start < boxes.out.size()) {
        const std::size_t end = boxes.out.find('\n', start);
        const std::string line = boxes.out.substr(start, end - start);
        start = end == std::string::npos ? boxes.out.size() : end + 1;
        std::smatch match;
        if (line.find("<page ") != std::string::npos) {
            ++page;
        } else if (std::regex_search(line, match, word)) {
            words.push_back(
                {page, std::stod(match[1]), std::stod(match[2]), std::stod(match[3]), match[4]});
        }
    }
    return words;
}

std::vector<Word> Named(const std::vector<Word>& words, const std::string& text) {
    std::vector<Word> found;
    for (const Word& word : words) {
        if (word.text == text) {
            found.push_back(word);
        }
    }
    return found;
}

TEST(RecordProgram, WritesTheRecordOfAStudyWithNoDisplay) {
    struct Case {
        std::string study;
        std::string options;
        std::string expectedText;
        int pages;
    };
    const Case cases[] = {
        {"worked-example.w05", "", "record-worked-example.txt", 2},
        {"four-analysts.w05", "--unit '% p/p' --limit-repeatability 1 --limit-intermediate 1.5",
         "record-four-analysts.txt", 3},
        // Results missing: the «NA» cells, the unbalanced figures, Mandel's k pooled with each
        // analyst's own counts, and what is absent with its reason.
        {"lost-day.w05", "--unit 'mg/L' --limit-repeatability 1 --limit-intermediate 2",
         "record-lost-day.txt", 3},
        {"missing-replicate.w05", "", "record-missing-replicate.txt", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.study);
        const testing::TemporaryFolder folder;
        const auto pdf = folder / "registro.pdf";
        const testing::Outcome run =
            Record(Quoted(kData / c.study) + " " + Quoted(pdf) + " " + c.options);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out + run.err, "");
        const std::string text = LaidOutText(pdf);
        EXPECT_EQ(text, testing::ReadBytes(kData / c.expectedText));
        // The fingerprint is the study file's own, as sha256sum gives it.
        const testing::Outcome sum = testing::RunCommand("sha256sum " + Quoted(kData / c.study));
        ASSERT_EQ(sum.status, 0);
        EXPECT_NE(text.find("Huella SHA-256 de los datos: " + sum.out.substr(0, 64) + "\n"),
                  std::string::npos);
        EXPECT_NE(text.find("Huella: " + sum.out.substr(0, 16) + " "), std::string::npos);

        // On A4 (595 x 842 points) within margins of 15 mm at the sides and 10 mm above and
        // below: the page number at the top right of every page, the fingerprint at the bottom
        // left, the signature block on the last page, its three roles side by side above the
        // footer.
        const std::vector<Word> words = WordsOf(pdf);
        const std::vector<Word> numbers = Named(words, "Página");
        const std::vector<Word> footers = Named(words, "Huella:");
        ASSERT_EQ(static_cast<int>(numbers.size()), c.pages);
        ASSERT_EQ(static_cast<int>(footers.size()), c.pages);
        for (int page = 1; page <= c.pages; ++page) {
            const Word& number = numbers[static_cast<std::size_t>(page - 1)];
            const Word& footer = footers[static_cast<std::size_t>(page - 1)];
            EXPECT_EQ(number.page, page);
            EXPECT_NEAR(number.top, 28.35, 1.0);
            EXPECT_GT(number.left, 480);
            EXPECT_EQ(footer.page, page);
            EXPECT_NEAR(footer.left, 42.5, 1.0);
            EXPECT_GT(footer.top, 800);
            EXPECT_LT(footer.bottom, 842 - 28.35 + 0.5);
        }
        const double lefts[] = {42.5, 42.5 + 510.0 / 3, 42.5 + 2 * 510.0 / 3};
        for (const char* role : {"Realizó", "Revisó", "Aprobó"}) {
            const std::vector<Word> found = Named(words, role);
            ASSERT_EQ(found.size(), 1u) << role;
            EXPECT_EQ(found[0].page, c.pages) << role;
            EXPECT_NEAR(found[0].top, Named(words, "Realizó")[0].top, 0.5) << role;
        }
        const std::vector<Word> signatures = Named(words, "Firma:");
        ASSERT_EQ(signatures.size(), 3u);
        for (std::size_t column = 0; column < signatures.size(); ++column) {
            EXPECT_EQ(signatures[column].page, c.pages);
            EXPECT_NEAR(signatures[column].left, lefts[column], 1.0);
            EXPECT_GT(signatures[column].top, Named(words, "Realizó")[0].top);
            EXPECT_LT(signatures[column].bottom, footers.back().top - 20);
        }
    }
}

TEST(RecordProgram, FailsInOneLineAndLeavesTheStudyAsItWas) {
    const testing::TemporaryFolder folder;
    const auto study = folder / "estudio.w05";
    testing::WriteBytes(study, testing::ReadBytes(kData / "worked-example.w05"));
    const auto pdf = folder / "registro.pdf";
    struct Case {
        std::string arguments;
        int status;
        std::string err;
    };
    const std::string usage = "; «orbeta --help» muestra el uso\n";
    const Case cases[] = {
        {Quoted(folder / "no.w05") + " " + Quoted(pdf), 1, "File not found.\n"},
        {Quoted(folder.Path()) + " " + Quoted(pdf), 1,
         "'" + folder.Path().string() + "' es una carpeta, no un archivo de estudio.\n"},
        {Quoted(study) + " " + Quoted(study), 1,
         "El registro no puede escribirse sobre el propio estudio: elija otro archivo de "
         "salida.\n"},
        {Quoted(study), 2, "orbeta: --record pide un estudio y un archivo PDF de salida" + usage},
        {Quoted(study) + " " + Quoted(pdf) + " --limit-repeatability 0", 2,
         "orbeta: El límite de la repetibilidad debe ser un número mayor que cero" + usage},
        {Quoted(study) + " " + Quoted(pdf) + " --limit-intermediate 1,5", 2,
         "orbeta: El límite de la precisión intermedia debe ser un número mayor que cero" + usage},
        {Quoted(study) + " " + Quoted(pdf) + " --unit 'mg/L de principio activo'", 2,
         "orbeta: la unidad tiene más de 20 caracteres" + usage},
        {Quoted(study) + " " + Quoted(pdf) + " --unit", 2,
         "orbeta: falta el valor de --unit" + usage},
    };
    for (const Case& c : cases) {
        const testing::Outcome run = Record(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << c.arguments;
        EXPECT_EQ(testing::ReadBytes(study), testing::ReadBytes(kData / "worked-example.w05"));
    }
}

} // namespace
} // namespace orbeta
