#include "print/PagedDocument.h"
#include "print/ValidationRecord.h"

#include "support/RecordingPrintSurface.h"
#include "support/Studies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orbeta {
namespace {

TEST(ValidationRecord, ProposedFileNameFromTheMethodAndTheDate) {
    struct Case {
        std::string method;
        std::string date;
        std::string name;
    };
    const Case cases[] = {
        {"Valoración", "01/06/2001", "Registro Valoración 01-06-2001.pdf"},
        {"  HPLC: lote 7?  ", "2024-03-15", "Registro HPLC- lote 7- 2024-03-15.pdf"},
        {"a<b>c|d\"e*f\\g", "x\ty", "Registro a-b-c-d-e-f-g x-y.pdf"},
        {"Método", "   ", "Registro Método.pdf"},
        {"", "", "Registro.pdf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProposedRecordFileName(c.method, c.date), c.name) << c.method << " " << c.date;
    }
}

// The texts of each page as the surface drew them, in order.
std::vector<std::vector<std::string>> TextsByPage(const std::vector<std::string>& operations) {
    std::vector<std::vector<std::string>> pages(1);
    for (const std::string& operation : operations) {
        if (operation == "page") {
            pages.emplace_back();
        } else if (operation.rfind("text ", 0) == 0) {
            const std::size_t afterX = operation.find(' ', 5);
            pages.back().push_back(operation.substr(operation.find(' ', afterX + 1) + 1));
        }
    }
    return pages;
}

// The pages (from 1) on which a text is drawn.
std::vector<int> PagesOf(const std::vector<std::vector<std::string>>& pages,
                         const std::string& text) {
    std::vector<int> found;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        for (const std::string& drawn : pages[page]) {
            if (drawn == text) {
                found.push_back(static_cast<int>(page) + 1);
            }
        }
    }
    return found;
}

// On a 600-dpi page 8 inches wide: a body line is 90 pixels and a page holds 6512 of them after
// its header and footer; a one-line paragraph takes 120, a heading 176.
TEST(PagedDocument, AHeadingNeverEndsAPageAndATableIsSplitOnlyWhenLongerThanAPage) {
    struct Case {
        int fillers; // one-line paragraphs before the heading
        int rows;
        std::vector<int> headingPages;
        std::vector<int> firstRowPages;
        std::vector<int> lastRowPages;
        std::vector<int> columnHeadingPages; // where the column headings are drawn
        int pageCount;
    };
    const Case cases[] = {
        // It fits where it stands.
        {40, 5, {1}, {1}, {1}, {1}, 1},
        // It fits on a page but not in what is left of this one: it begins the next, whole.
        {40, 20, {2}, {2}, {2}, {2}, 2},
        // Longer than a page: it goes on over the next under its headings drawn again.
        {0, 100, {1}, {1}, {2}, {1, 2}, 2},
        // The heading would fit at the page's end, but not with the table's first row.
        {52, 100, {2}, {2}, {3}, {2, 3}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.fillers) + " fillers, " + std::to_string(c.rows) + " rows");
        PagedDocument document({"Método: M", "Fecha: F", "Huella", "Programa", "Exportado"});
        for (int filler = 0; filler < c.fillers; ++filler) {
            document.Paragraph("Relleno");
        }
        document.Heading("Tabla");
        DocumentTable table{{"Fila", "Valor"}, {}, {true, false}};
        for (int row = 1; row <= c.rows; ++row) {
            table.rows.push_back({"f" + std::to_string(row), std::to_string(row * 10)});
        }
        document.Table(std::move(table));
        testing::RecordingPrintSurface surface(600, 4800);
        document.Print(surface);
        const auto pages = TextsByPage(surface.Operations());
        ASSERT_EQ(static_cast<int>(pages.size()), c.pageCount);
        EXPECT_EQ(PagesOf(pages, "Tabla"), c.headingPages);
        EXPECT_EQ(PagesOf(pages, "f1"), c.firstRowPages);
        EXPECT_EQ(PagesOf(pages, "f" + std::to_string(c.rows)), c.lastRowPages);
        EXPECT_EQ(PagesOf(pages, "Fila"), c.columnHeadingPages);
        for (int page = 1; page <= c.pageCount; ++page) {
            const std::vector<std::string> frame(pages[page - 1].begin(),
                                                 pages[page - 1].begin() + 6);
            EXPECT_EQ(frame, (std::vector<std::string>{"Método: M", "Fecha: F",
                                                       "Página " + std::to_string(page) + " de " +
                                                           std::to_string(c.pageCount),
                                                       "Huella", "Programa", "Exportado"}));
        }
    }
}

// At 8 points a character is 33 pixels wide: the three parts share one line while the left one
// ends a line's height (80 pixels) before the centred one begins.
TEST(PagedDocument, AHeaderTooLongForOneLineTakesTwo) {
    struct Case {
        std::string left;
        std::vector<std::string> header;
    };
    const std::string longMethod =
        "Método: Valoración de principio activo en comprimidos de liberación prolongada";
    const Case cases[] = {
        {"Método: M", {"text 0 0 Método: M", "text 2268 0 Fecha: F", "text 4371 0 Página 1 de 1"}},
        {longMethod, {"text 0 0 " + longMethod, "text 0 80 Fecha: F", "text 4371 0 Página 1 de 1"}},
    };
    for (const Case& c : cases) {
        PagedDocument document({c.left, "Fecha: F", "Huella", "Programa", "Exportado"});
        document.Paragraph("Texto");
        testing::RecordingPrintSurface surface(600, 4800);
        document.Print(surface);
        std::vector<std::string> texts;
        for (const std::string& operation : surface.Operations()) {
            if (operation.rfind("text ", 0) == 0 && texts.size() < c.header.size()) {
                texts.push_back(operation);
            }
        }
        EXPECT_EQ(texts, c.header);
    }
}

// The identity section of a study saved and of one never saved, as the record draws it.
TEST(ValidationRecord, TellsASavedStudyFromAnUnsavedOne) {
    const Study study = testing::WorkedExample();
    const DataFingerprint saved = FingerprintOfSavedBytes("bytes as saved");
    const DataFingerprint unsaved = FingerprintOfUnsavedStudy(study, '.');
    struct Case {
        RecordIdentity identity;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{"estudio.w05", saved, "", "ORBETA 3.1", "09/12/2026 17:00"},
         {"Archivo: estudio.w05", "Estado al exportar: tal como se abrió o guardó",
          "Huella SHA-256 de los datos: " + saved.hex, "Unidad de los resultados: no indicada"}},
        {{"", unsaved, "mg/L", "ORBETA 3.1", "09/12/2026 17:00"},
         {"Archivo: sin guardar", "Estado al exportar: modificado sin guardar",
          "Huella SHA-256 de los datos: " + unsaved.hex + " (modificado sin guardar)",
          "Unidad de los resultados: mg/L"}},
    };
    const RecordFigures figures = ComputeRecordFigures(study, '.', {});
    for (const Case& c : cases) {
        testing::RecordingPrintSurface surface(600, 4800);
        PrintValidationRecord(surface, study, figures, c.identity, '.');
        const auto pages = TextsByPage(surface.Operations());
        const std::vector<std::string>& first = pages.front();
        const auto file = std::find(first.begin(), first.end(), c.lines.front());
        ASSERT_NE(file, first.end()) << c.lines.front();
        EXPECT_EQ(std::vector<std::string>(file, file + 4), c.lines);
        EXPECT_EQ(first[3], "Huella: " + c.identity.fingerprint.hex.substr(0, 16));
        EXPECT_EQ(first[5], "Exportado: 09/12/2026 17:00");
    }
}

// The texts of a study's record without limits, never saved, page after page.
std::vector<std::string> RecordTexts(const Study& study) {
    testing::RecordingPrintSurface surface(600, 4800);
    PrintValidationRecord(surface, study, ComputeRecordFigures(study, '.', {}),
                          {"", FingerprintOfUnsavedStudy(study, '.'), "", "ORBETA 3.1", "ahora"},
                          '.');
    std::vector<std::string> texts;
    for (const std::vector<std::string>& page : TextsByPage(surface.Operations())) {
        texts.insert(texts.end(), page.begin(), page.end());
    }
    return texts;
}

// A study whose second analyst keeps one result a day has no k: the Mandel section gives h
// alone and says why. h and its indicator values from R (sd of the analysts' means 10.3, 10.3,
// 10.075; qt(0.995, 1), qt(0.975, 1)).
TEST(ValidationRecord, MandelSectionWithoutKSaysWhy) {
    const Study study = testing::StudyWithResults(3, 2, 2,
                                                  {"10.1", "10.3", "10.2", "10.6", "10.4", "NA",
                                                   "NA", "10.2", "9.9", "10.0", "10.3", "10.1"});
    const std::vector<std::string> texts = RecordTexts(study);
    const auto first = std::find(texts.begin(), texts.end(), "Nivel");
    const auto last = std::find(first, texts.end(), "h de Mandel");
    ASSERT_NE(last, texts.end());
    // With 3 analysts |h| reaches at most 2 / sqrt(3) = 1.1547, beyond the 1 % value.
    EXPECT_EQ(std::vector<std::string>(first, last),
              (std::vector<std::string>{
                  "Nivel",
                  "Valor indicador de |h|",
                  "1 %",
                  "1.15456",
                  "5 %",
                  "1.15114",
                  "Analista",
                  "h",
                  "Veredicto de h",
                  "1",
                  "0.57735",
                  "correcto",
                  "2",
                  "0.57735",
                  "correcto",
                  "3",
                  "-1.1547",
                  "aberrante",
                  "Sin k de Mandel: el analista 2 no tiene ningún día con dos resultados o más.",
                  "Analista 3: h = -1.1547, aberrante (por encima del valor indicador del 1 %)."}));
}

// Only analyst 4 of 5 has two days, of one result each: the synthesized denominator falls below
// zero, so the analyst has no F test. The record keeps the analyst's sums of squares, says why
// its test is absent under the F tests, and concludes on the day alone.
TEST(ValidationRecord, WithoutTheAnalystsTestConcludesOnTheDayAlone) {
    const Study study = testing::StudyWithResults(
        5, 2, 5, {"NA",   "NA",  "NA",   "NA",  "NA",   "10.1",  "10.3", "9.9",  "10.2", "10.0",
                  "10.4", "9.7", "10.6", "9.9", "10.2", "NA",    "NA",   "NA",   "NA",   "NA",
                  "NA",   "NA",  "NA",   "NA",  "NA",   "10.5",  "9.8",  "10.1", "10.4", "9.6",
                  "10.0", "NA",  "NA",   "NA",  "NA",   "10.05", "NA",   "NA",   "NA",   "NA",
                  "NA",   "NA",  "NA",   "NA",  "NA",   "10.2",  "9.9",  "NA",   "NA",   "NA"});
    const std::vector<std::string> texts = RecordTexts(study);
    // From the first text that starts with `from` up to `to`.
    const auto section = [&texts](const std::string& from, const std::string& to) {
        const auto first = std::find_if(texts.begin(), texts.end(), [&from](const std::string& t) {
            return t.rfind(from, 0) == 0;
        });
        return std::vector<std::string>(first, std::find(first, texts.end(), to));
    };
    EXPECT_EQ(section("Conclusiones", "Medidas de precisión del método clásico"),
              (std::vector<std::string>{
                  "Conclusiones al nivel de significancia 0.05, con la P aproximada: el efecto "
                  "del analista no se puede probar con los resultados",
                  "que faltan; no existe efecto de los días para un analista en la valoración.",
                  "P aproximada: la del método clásico de este programa; P exacta: la de la "
                  "distribución F."}));
    // The day's F and exact P from R: aov(y ~ a/d) on the results held, pf(F, 1, 13).
    EXPECT_EQ(section("Pruebas F", "Pruebas de consistencia de Cochran y Grubbs"),
              (std::vector<std::string>{
                  "Pruebas F", "Fuente", "F", "P aproximada", "P exacta",
                  "Conclusión con la P aproximada", "Conclusión con la P exacta", "Día",
                  "0.0128458", "0.90738", "0.911493", "sin efecto", "sin efecto",
                  "P aproximada: la del método clásico de este programa; P exacta: la de la "
                  "distribución F. Cada conclusión se toma al nivel de",
                  "significancia 0.05.",
                  "Sin prueba F entre analistas: con los resultados que faltan, el denominador "
                  "sintetizado no es mayor que cero."}));
}

} // namespace
} // namespace orbeta
