#include "study/StudyChecks.h"

#include "study/Error.h"
#include "study/Numbers.h"

#include <cstdint>
#include <stdexcept>

namespace orbeta {

namespace {

struct CountRule {
    StudyControl control;
    int minimum;
    int maximum;
    const char* missingMessage;
    const char* rangeMessage;
};

const CountRule kCountRules[] = {
    {StudyControl::AnalystCount, 2, 10, "Falta capturar número de Analistas",
     "Datos fuera de rango, 2-10 Analistas"},
    {StudyControl::DayCount, 2, 10, "Falta capturar número de Días",
     "Datos fuera de rango, 2-10 Días"},
    {StudyControl::ReplicateCount, 2, 5, "Falta capturar número de Replicas",
     "Datos fuera de rango, 2-5 Replicas"},
};

const CountRule& RuleOf(StudyControl control) {
    for (const CountRule& rule : kCountRules) {
        if (rule.control == control) {
            return rule;
        }
    }
    throw std::logic_error("not a count field");
}

CheckFailure OnGeneralPage(std::string message, StudyControl control) {
    return CheckFailure{std::move(message), StudyPage::GeneralInformation, control};
}

// The message of the first check a count's text fails (empty, out of range), or nothing.
// Throws ParseCount's Error for a text that is not a whole number.
std::optional<std::string> CheckCount(const CountRule& rule, const std::string& text) {
    if (text.empty()) {
        return rule.missingMessage;
    }
    const int value = ParseCount(text);
    if (value < rule.minimum || value > rule.maximum) {
        return rule.rangeMessage;
    }
    return std::nullopt;
}

} // namespace

std::optional<CheckFailure> CheckCounts(const std::string& analystCount,
                                        const std::string& dayCount,
                                        const std::string& replicateCount) {
    for (const CountRule& rule : kCountRules) {
        const std::string& text = rule.control == StudyControl::AnalystCount ? analystCount
                                  : rule.control == StudyControl::DayCount   ? dayCount
                                                                             : replicateCount;
        if (auto message = CheckCount(rule, text)) {
            return OnGeneralPage(std::move(*message), rule.control);
        }
    }
    return std::nullopt;
}

std::optional<CheckFailure> ValidateStudy(const Study& study) {
    if (auto failure = CheckCounts(study.analystCount, study.dayCount, study.replicateCount)) {
        return failure;
    }
    if (auto failure = CheckGridLayout(study)) {
        return failure;
    }
    const int analysts = ParseCount(study.analystCount);
    const int days = ParseCount(study.dayCount);
    const int replicates = ParseCount(study.replicateCount);
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

std::optional<std::string> CheckCountField(StudyControl field, const std::string& text) {
    try {
        return CheckCount(RuleOf(field), text);
    } catch (const Error&) {
        return "El valor de captura no es un valor numérico.";
    }
}

std::optional<CheckFailure> CheckGridLayout(const Study& study) {
    const std::int64_t analysts = ParseCount(study.analystCount);
    const std::int64_t rowsPerAnalyst =
        std::int64_t{ParseCount(study.dayCount)} * ParseCount(study.replicateCount);
    if (rowsPerAnalyst != study.gridRows - 1) {
        return OnGeneralPage("El número de celdas de captura, por analista no coincide con el "
                             "número de Días o Replicaciones.",
                             StudyControl::DayCount);
    }
    if (analysts != study.gridColumns - 1) {
        return OnGeneralPage(
            "El número columnas para los analistas, no coincide con el número de Analistas.",
            StudyControl::AnalystCount);
    }
    return std::nullopt;
}

std::optional<std::string> CheckGridData(const Study& study, char decimalSeparator) {
    for (int column = 1; column < study.gridColumns; ++column) {
        for (int row = 1; row < study.gridRows; ++row) {
            const std::string& text = study.Cell(column, row);
            if (text.empty()) {
                return "Falta capturar un dato";
            }
            try {
                ParseResult(text, decimalSeparator);
            } catch (const Error&) {
                return "El dato del control negativo " + std::to_string(row) +
                       " no es un valor numérico.";
            }
        }
    }
    return std::nullopt;
}

} // namespace orbeta
