#include "study/StudyChecks.h"

#include "study/Numbers.h"

namespace orbeta {

namespace {

struct CountCheck {
    const std::string& text;
    int minimum;
    int maximum;
    const char* missingMessage;
    const char* rangeMessage;
    StudyControl control;
};

std::optional<CheckFailure> CheckCount(const CountCheck& check, int& value) {
    if (check.text.empty()) {
        return CheckFailure{check.missingMessage, StudyPage::GeneralInformation, check.control};
    }
    value = ParseCount(check.text);
    if (value < check.minimum || value > check.maximum) {
        return CheckFailure{check.rangeMessage, StudyPage::GeneralInformation, check.control};
    }
    return std::nullopt;
}

} // namespace

std::optional<CheckFailure> ValidateStudy(const Study& study) {
    int analysts = 0;
    int days = 0;
    int replicates = 0;
    const CountCheck counts[] = {
        {study.analystCount, 2, 10, "Falta capturar número de Analistas",
         "Datos fuera de rango, 2-10 Analistas", StudyControl::AnalystCount},
        {study.dayCount, 2, 10, "Falta capturar número de Días", "Datos fuera de rango, 2-10 Días",
         StudyControl::DayCount},
        {study.replicateCount, 2, 5, "Falta capturar número de Replicas",
         "Datos fuera de rango, 2-5 Replicas", StudyControl::ReplicateCount},
    };
    int* const values[] = {&analysts, &days, &replicates};
    for (std::size_t index = 0; index < std::size(counts); ++index) {
        if (auto failure = CheckCount(counts[index], *values[index])) {
            return failure;
        }
    }
    if (days * replicates != study.gridRows - 1) {
        return CheckFailure{"El número de celdas de captura, por analista no coincide con el "
                            "número de Días o Replicaciones.",
                            StudyPage::GeneralInformation, StudyControl::DayCount};
    }
    if (analysts != study.gridColumns - 1) {
        return CheckFailure{
            "El número columnas para los analistas, no coincide con el número de Analistas.",
            StudyPage::GeneralInformation, StudyControl::AnalystCount};
    }
    for (int analyst = 1; analyst <= analysts; ++analyst) {
        for (int day = 1; day <= days; ++day) {
            for (int replicate = 1; replicate <= replicates; ++replicate) {
                if (study.Cell(analyst, ResultRow(day, replicate, replicates)).empty()) {
                    return CheckFailure{"Falta capturar el dato para el Analista " +
                                            std::to_string(analyst) + ", Día " +
                                            std::to_string(day) + ", Replicación " +
                                            std::to_string(replicate) + ".",
                                        StudyPage::DataCapture, StudyControl::Grid};
                }
            }
        }
    }
    return std::nullopt;
}

} // namespace orbeta
