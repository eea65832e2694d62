#include "support/Studies.h"

#include "study/Numbers.h"

#include <cstddef>

namespace orbeta::testing {

Study StudyWithResults(int analysts, int days, int replicates,
                       const std::vector<std::string>& resultsByAnalyst) {
    Study study = NewStudy();
    study.analystCount = std::to_string(analysts);
    study.dayCount = std::to_string(days);
    study.replicateCount = std::to_string(replicates);
    ApplyStudyLayout(study);
    std::size_t next = 0;
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int row = 1; row <= days * replicates && next < resultsByAnalyst.size(); ++row) {
            study.SetCell(analyst, row, resultsByAnalyst[next++]);
        }
    }
    return study;
}

Study WorkedExample() {
    Study study = StudyWithResults(2, 2, 3,
                                   {"99.1", "100.2", "99.8", "100.5", "99.9", "100.1", "98.7",
                                    "99.5", "99.0", "100.0", "99.6", "99.3"});
    study.methodName = "Valoración";
    study.date = "01/06/2001";
    return study;
}

const std::vector<std::string>& WorkedExampleReport() {
    static const std::vector<std::string> lines{
        "PRECISIÓN DEL MÉTODO ANALÍTICO (PRECISIÓN INTERMEDIA)",
        " ",
        "Nombre del método: Valoración",
        "Fecha: 01/06/2001",
        "Número de analistas: 2",
        "Número de días: 2",
        "Número de replicaciones;",
        "3",
        "                    Analista 1",
        "(Día 1,Replica 1)          99.1",
        "(Día 1,Replica 2)          100.2",
        "(Día 1,Replica 3)          99.8",
        "(Día 2,Replica 1)          100.5",
        "(Día 2,Replica 2)          99.9",
        "(Día 2,Replica 3)          100.1",
        "                    Analista 2",
        "(Día 1,Replica 1)          98.7",
        "(Día 1,Replica 2)          99.5",
        "(Día 1,Replica 3)          99.0",
        "(Día 2,Replica 1)          100.0",
        "(Día 2,Replica 2)          99.6",
        "(Día 2,Replica 3)          99.3",
        " ",
        "ANÁLISIS DE LA VARIANZA",
        " ",
        "FUENTE DE VARIACIÓN : ANALISTA",
        "GRADOS DE LIBERTAD = 1",
        "SUMA DE CUADRADOS = 1.02083",
        "MEDIA DE CUADRADOS = 1.02083",
        "fcal = 2.52577",
        "Pfcal = 0.253851",
        " ",
        "FUENTE DE VARIACIÓN : DIA",
        "GRADOS DE LIBERTAD = 2",
        "SUMA DE CUADRADOS = 0.808333",
        "MEDIA DE CUADRADOS = 0.404167",
        "fcal = 2.343",
        "Pfcal = 0.157716",
        " ",
        "FUENTE DE VARIACIÓN : ERROR",
        "GRADOS DE LIBERTAD = 8",
        "SUMA DE CUADRADOS = 1.38",
        "MEDIA DE CUADRADOS = 0.1725",
        " ",
        "EL ANALISTA NO PRESENTA EFECTO SOBRE LA VALORACIÓN.",
        "NO EXISTE EFECTO DE LOS DÍAS PARA UN ANALISTA EN LA VALORACIÓN.",
        " ",
        " ",
        "                                   EVALUACIÓN DE LA PRECISIÓN",
        " ",
        "NOMBRE DEL MÉTODO = Valoración",
        "COEFICIENTE DE VARIACIÓN TOTAL = 0.542074",
        "REPETIBILIDAD DEL MÉTODO ANALÍTICO = 0.814049",
        "COEFICIENTE DE VARIACIÓN DE REPETIBILIDAD DEL MÉTODO ANALÍTICO = 0.816977",
        "REPRODUCIBILIDAD INTER DIA/ANALISTA = 0.544662",
        "COEFICIENTE DE VARIACIÓN INTER DIA/ANALISTA = 0.546621",
        "REPRODUCIBILIDAD INTERANALISTA = 0.628356",
        "COEFICIENTE DE VARIACIÓN INTERANALISTA = 0.630616",
        "AMPLITUD MÁXIMA RELATIVA DE LAS DETERMINACIONES ANALÍTICAS = 1.63395",
    };
    return lines;
}

StudyResults ComputeResults(const Study& study) {
    StatisticsEngine engine;
    StudyResults results;
    engine.ComputeAnova(study, '.', results.anova);
    engine.ComputePrecision(study, '.', results.precision);
    return results;
}

Study LargestStudy() {
    std::vector<std::string> results;
    for (int analyst = 1; analyst <= 10; ++analyst) {
        for (int day = 1; day <= 10; ++day) {
            for (int replicate = 1; replicate <= 5; ++replicate) {
                const int spread = (analyst * 7 + day * 13 + replicate * 29) % 41;
                results.push_back("99." + std::to_string(spread));
            }
        }
    }
    return StudyWithResults(10, 10, 5, results);
}

} // namespace orbeta::testing
