#include "study/StudyChecks.h"

#include "study/Error.h"
#include "study/Numbers.h"

#include <cstdint>
#include <stdexcept>

namespace orbeta {

namespace {

struct CountRule {
    StudyControl control;
    Count count;
};

const CountRule kCountRules[] = {
    {StudyControl::AnalystCount, Count::Analysts},
    {StudyControl::DayCount, Count::Days},
    {StudyControl::ReplicateCount, Count::Replicates},
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
    const CountRange& range = RangeOf(rule.count);
    if (text.empty()) {
        return std::string("Falta capturar número de ") + range.plural;
    }
    const int value = ParseCount(text);
    if (value < range.minimum || value > range.maximum) {
        return OutOfRangeMessage(rule.count);
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
    const Design design = DesignOf(study);
    std::optional<CheckFailure> failure;
    design.ForEachCell([&](const DesignCell& cell) {
        if (!failure &&
            study.Cell(cell.analyst, design.GridRowOf(cell.day, cell.replicate)).empty()) {
            failure = CheckFailure{"Falta capturar el dato para el Analista " +
                                       std::to_string(cell.analyst) + ", Día " +
                                       std::to_string(cell.day) + ", Replicación " +
                                       std::to_string(cell.replicate) + ".",
                                   StudyPage::DataCapture, StudyControl::Grid};
        }
    });
    if (failure) {
        return failure;
    }
    if (auto message = CheckMissingResults(DesignOfResults(study))) {
        return CheckFailure{std::move(*message), StudyPage::DataCapture, StudyControl::Grid};
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
    const Design design = DesignOf(study);
    const std::int64_t rowsPerAnalyst = std::int64_t{design.Days()} * design.Replicates();
    if (rowsPerAnalyst != study.gridRows - 1) {
        return OnGeneralPage("El número de celdas de captura, por analista no coincide con el "
                             "número de Días o Replicaciones.",
                             StudyControl::DayCount);
    }
    if (design.Analysts() != study.gridColumns - 1) {
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
            if (IsMissingResult(text)) {
                continue;
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

std::optional<std::string> CheckMissingResults(const Design& design) {
    bool dayDf = false;
    bool errorDf = false;
    for (int analyst = 1; analyst <= design.Analysts(); ++analyst) {
        int daysHeld = 0;
        for (int day = 1; day <= design.Days(); ++day) {
            int held = 0;
            for (int replicate = 1; replicate <= design.Replicates(); ++replicate) {
                held += design.HoldsResult(DesignCell{analyst, day, replicate}) ? 1 : 0;
            }
            daysHeld += held > 0 ? 1 : 0;
            errorDf = errorDf || held > 1;
        }
        if (daysHeld == 0) {
            return "Al Analista " + std::to_string(analyst) +
                   " le faltan todos sus resultados: cada analista necesita al menos uno.";
        }
        dayDf = dayDf || daysHeld > 1;
    }
    if (!dayDf) {
        return std::string("La fuente Día se queda sin grados de libertad: ningún analista tiene "
                           "dos días con resultados.");
    }
    if (!errorDf) {
        return std::string("La fuente Error se queda sin grados de libertad: ningún día tiene dos "
                           "resultados.");
    }
    return std::nullopt;
}

} // namespace orbeta
