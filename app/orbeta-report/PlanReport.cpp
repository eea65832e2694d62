#include "PlanReport.h"

#include "MachineReport.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace orbeta::report {

namespace {

// A number or a truth value as JSON writes it.
std::string Scalar(const Json& value) {
    std::string text;
    AppendJson(text, value, 0);
    return text;
}

Json Optional(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

} // namespace

std::string PlanText(const StudyPlan& plan, char decimalSeparator) {
    const std::vector<PlanColumn> columns = PlanColumns(plan);
    std::vector<std::vector<std::string>> rows{{}};
    for (const PlanColumn& column : columns) {
        rows.front().emplace_back(column.heading);
    }
    for (const PlannedDesign& design : plan.designs) {
        std::vector<std::string>& row = rows.emplace_back();
        for (const PlanColumn& column : columns) {
            row.push_back(FormatResult(column.value(design), decimalSeparator));
        }
    }
    // Widths in characters: the headings hold accented letters of two bytes.
    const auto width = [](const std::string& cell) {
        return static_cast<std::size_t>(std::count_if(cell.begin(), cell.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    std::vector<std::size_t> widths(columns.size(), 0);
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], width(row[column]));
        }
    }
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            text += std::string(widths[column] - width(row[column]) + (column > 0 ? 2 : 0), ' ');
            text += row[column];
        }
        text += '\n';
    }
    return text + '\n' + RecommendationSentence(plan, decimalSeparator) + '\n';
}

std::string PlanJson(const StudyPlan& plan) {
    const PlanInputs& inputs = plan.inputs;
    Json given = Json::object();
    given["mean"] = inputs.mean;
    given["sd_repeatability"] = inputs.sdRepeatability;
    given["sd_day"] = inputs.sdDay;
    given["sd_analyst"] = inputs.sdAnalyst;
    given["limit_repeatability"] = Optional(inputs.limitRepeatability);
    given["limit_intermediate"] = Optional(inputs.limitIntermediate);
    given["probability"] = inputs.probability;

    const PlannedDesign& chosen = plan.designs[plan.recommended];
    Json recommendation = Json::object();
    recommendation["analysts"] = chosen.analysts;
    recommendation["days"] = chosen.days;
    recommendation["replicates"] = chosen.replicates;
    recommendation["determinations"] = chosen.determinations;
    recommendation["reached"] = plan.reached;
    recommendation["sentence"] = RecommendationSentence(plan, '.');

    std::string text = "{\n  \"inputs\": ";
    AppendJson(text, given, 1);
    text += ",\n  \"recommendation\": ";
    AppendJson(text, recommendation, 1);
    text += ",\n  \"designs\": [";
    const std::vector<PlanColumn> columns = PlanColumns(plan);
    for (const PlannedDesign& design : plan.designs) {
        Json row = Json::object();
        for (const PlanColumn& column : columns) {
            row[column.key] = column.value(design);
        }
        text += &design == &plan.designs.front() ? "\n    " : ",\n    ";
        AppendJson(text, row, 2);
    }
    return text + "\n  ]\n}\n";
}

std::string PlanCsv(const StudyPlan& plan) {
    const std::vector<PlanColumn> columns = PlanColumns(plan);
    std::vector<std::string> header;
    for (const PlanColumn& column : columns) {
        header.emplace_back(column.key);
    }
    header.emplace_back("recommended");
    std::string text;
    AppendCsvRow(text, header);
    for (std::size_t index = 0; index < plan.designs.size(); ++index) {
        std::vector<std::string> fields;
        for (const PlanColumn& column : columns) {
            fields.push_back(Scalar(column.value(plan.designs[index])));
        }
        fields.push_back(Scalar(index == plan.recommended));
        AppendCsvRow(text, fields);
    }
    return text;
}

} // namespace orbeta::report
