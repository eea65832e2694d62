#include "ui/ExtendedAnalysisContent.h"

#include "engine/ExtendedFigures.h"
#include "engine/UTs.h"
#include "study/Numbers.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

namespace orbeta {

namespace {

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

QString FigureText(const FigureValue& value, char separator) {
    if (const auto* number = std::get_if<double>(&value)) {
        return QString::fromStdString(FormatResult(*number, separator));
    }
    if (const auto* whole = std::get_if<int>(&value)) {
        return QString::number(*whole);
    }
    if (const auto* truth = std::get_if<bool>(&value)) {
        return *truth ? QStringLiteral("sí") : QStringLiteral("no");
    }
    return Text(std::get<const char*>(value));
}

// A row of a table: the group it shows, and the group that holds the figures it shares with
// other rows (Grubbs's critical values), if any.
struct RowOf {
    const char* group;
    const char* shared = nullptr;
};

// A column: the key of its figure, or of the other figure a row holds instead (Cochran's C
// where Grubbs's rows hold G).
struct ColumnOf {
    const char* key;
    const char* instead = nullptr;
};

// A table of the walk's figures: a row per group given that the walk holds, its label first,
// then a cell per column, empty where the group lacks the figure.
ResultTable WalkTable(const std::vector<FigureGroup>& groups, const char* title,
                      const char* firstHeading, std::initializer_list<RowOf> rows,
                      std::initializer_list<ColumnOf> columns, char separator) {
    ResultTable table{Text(title), {Text(firstHeading)}, {}, {}, {true}};
    std::vector<const Figure*> headingOf(columns.size(), nullptr);
    for (const RowOf& row : rows) {
        const FigureGroup* group = FindGroup(groups, row.group);
        if (!group) {
            continue;
        }
        const FigureGroup* shared = row.shared ? FindGroup(groups, row.shared) : nullptr;
        QStringList cells{Text(group->label)};
        bool holdsAny = false;
        std::size_t index = 0;
        for (const ColumnOf& column : columns) {
            const Figure* figure = group->Find(column.key);
            if (!figure && column.instead) {
                figure = group->Find(column.instead);
            }
            holdsAny = holdsAny || figure;
            if (!figure && shared) {
                figure = shared->Find(column.key);
            }
            cells.append(figure ? FigureText(figure->value, separator) : QString());
            if (figure && !headingOf[index]) {
                headingOf[index] = figure;
            }
            ++index;
        }
        // A test the study cannot give has lost its figures: its row goes, its note says why.
        if (holdsAny) {
            table.rows.push_back(std::move(cells));
        }
    }
    for (std::size_t index = 0; index < headingOf.size(); ++index) {
        const Figure* figure = headingOf[index];
        table.headings.append(figure ? Text(figure->label) : QString());
        table.wordColumns.append(figure && figure->unit == FigureUnit::Word);
    }
    return table;
}

// The walk without the figures a study with results missing cannot give, which it holds as
// zeros: the analyst's F test, the MLS figures, Cochran's test. Grubbs's levels it cannot give
// are not in the walk at all.
std::vector<FigureGroup> WithoutAbsent(std::vector<FigureGroup> groups,
                                       const AbsentFigures& absent) {
    const auto erase = [&groups](const char* groupKey,
                                 std::initializer_list<std::string_view> keys) {
        for (FigureGroup& group : groups) {
            if (std::string_view(group.key) == groupKey) {
                std::erase_if(group.figures, [&keys](const Figure& figure) {
                    return std::find(keys.begin(), keys.end(), figure.key) != keys.end();
                });
            }
        }
    };
    if (absent.analystTest) {
        erase("anova/analyst", {"f", "p", "p_exact", "conclusion", "conclusion_code",
                                "conclusion_exact", "conclusion_exact_code"});
    }
    if (absent.mls) {
        erase("components/intermediate", {"mls_variance_low", "mls_variance_high", "mls_sd_upper"});
    }
    if (absent.cochran) {
        std::erase_if(groups, [](const FigureGroup& group) {
            return std::string_view(group.key) == "cochran";
        });
    }
    return groups;
}

// Why the figures of a table are absent, for the table's notes.
QStringList AbsenceNotes(const AbsentFigures& absent) {
    QStringList notes;
    for (const std::string& sentence : AbsenceSentences(absent)) {
        notes.append(QString::fromStdString(sentence));
    }
    return notes;
}

// The sentence on the components set to zero, naming them; none when no estimate was negative.
QStringList ZeroedComponentNotes(const AnovaTable& anova) {
    const ComponentsSetToZero zeroed = ComponentsSetToZeroOf(anova);
    if (zeroed.day && zeroed.analyst) {
        return {QStringLiteral("Las estimaciones de los componentes entre días y entre analistas "
                               "resultaron negativas y se toman como cero.")};
    }
    if (zeroed.day || zeroed.analyst) {
        return {QStringLiteral("La estimación del componente entre %1 resultó negativa y se toma "
                               "como cero.")
                    .arg(zeroed.day ? QStringLiteral("días") : QStringLiteral("analistas"))};
    }
    return {};
}

// The note beside the verdicts when a consistency test singles out a day: the verdict stands,
// and the day wants investigating first.
QStringList FlaggedDayNotes(const std::vector<FlaggedDay>& flagged) {
    if (flagged.empty()) {
        return {};
    }
    QStringList days;
    for (const FlaggedDay& day : flagged) {
        days.append(QStringLiteral("analista %1, día %2 (%3)")
                        .arg(day.analyst)
                        .arg(day.day)
                        .arg(day.reason));
    }
    return {(flagged.size() == 1 ? QStringLiteral("Atención: los datos tienen un día señalado por "
                                                  "las pruebas de consistencia: %1. ISO 5725-2 "
                                                  "pide investigarlo antes de usar estas cifras.")
                                 : QStringLiteral("Atención: los datos tienen días señalados por "
                                                  "las pruebas de consistencia: %1. ISO 5725-2 "
                                                  "pide investigarlos antes de usar estas "
                                                  "cifras."))
                .arg(days.join(QStringLiteral("; ")))};
}

// Mandel's h and k of each analyst with their verdicts, the indicator values and each flagged
// value named under them; without the statistics, only why.
ResultTable MandelTable(const ExtendedSnapshot& snapshot, char separator) {
    ResultTable table{QStringLiteral("Estadísticos h y k de Mandel"),
                      {QStringLiteral("Analista"), QStringLiteral("h"),
                       QStringLiteral("Veredicto de h"), QStringLiteral("k"),
                       QStringLiteral("Veredicto de k")},
                      {},
                      {},
                      {true, false, true, false, true}};
    if (!snapshot.mandel) {
        table.notes = {MandelAbsenceNote(snapshot.values)};
        return table;
    }
    const MandelStatistics& mandel = *snapshot.mandel;
    const auto number = [separator](double value) {
        return QString::fromStdString(FormatResult(value, separator));
    };
    for (const MandelAnalyst& analyst : mandel.analysts) {
        table.rows.push_back({QString::number(analyst.analyst), number(analyst.h),
                              Text(VerdictText(analyst.hVerdict)), number(analyst.k),
                              Text(VerdictText(analyst.kVerdict))});
    }
    table.notes = {
        QStringLiteral("Valores indicadores (ISO 5725-2): h, %1 al 5 % y %2 al 1 %, en "
                       "valor absoluto; k, %3 al 5 % y %4 al 1 %. h compara la media "
                       "de cada analista con las de los demás; k, su repetibilidad.")
            .arg(number(mandel.h5), number(mandel.h1), number(mandel.k5), number(mandel.k1))};
    for (const std::string& sentence : MandelFlagSentences(mandel, separator)) {
        table.notes.append(QString::fromStdString(sentence));
    }
    return table;
}

} // namespace

Qt::Alignment ColumnAlignment(const ResultTable& table, qsizetype column) {
    return column < table.wordColumns.size() && table.wordColumns[column] ? Qt::AlignLeft
                                                                          : Qt::AlignRight;
}

std::vector<ResultTable> ExtendedTables(const ExtendedSnapshot& snapshot,
                                        const AcceptanceResult& acceptance, char separator) {
    const ExtendedAnalysis& analysis = snapshot.analysis;
    const std::vector<FigureGroup> groups =
        WithoutAbsent(ExtendedFigureGroups(snapshot.anova, analysis, acceptance), analysis.absent);
    const AbsentFigures& absent = analysis.absent;
    const QString level = QString::fromStdString(FormatResult(kSignificanceLevel, separator));
    std::vector<ResultTable> tables;
    tables.reserve(kExtendedTables);

    ResultTable& components =
        tables.emplace_back(WalkTable(groups, "Componentes de la varianza", "Componente",
                                      {{"components/repeatability"},
                                       {"components/day"},
                                       {"components/analyst"},
                                       {"components/intermediate"}},
                                      {{"variance"}, {"sd"}, {"cv"}, {"percent"}}, separator));
    components.notes = ZeroedComponentNotes(snapshot.anova);
    for (const std::string& sentence : FlagSentences(analysis.flags)) {
        components.notes.append(QString::fromStdString(sentence));
    }

    tables.push_back(WalkTable(groups, "Intervalos de confianza al 95 %", "Medida",
                               {{"components/repeatability"}, {"components/intermediate"}},
                               {{"df"},
                                {"sd_low"},
                                {"sd_high"},
                                {"mls_variance_low"},
                                {"mls_variance_high"},
                                {"sd_upper"},
                                {"mls_sd_upper"}},
                               separator));
    tables.back().notes = {
        QStringLiteral("La repetibilidad, por la ji cuadrado con los gl del error; la precisión "
                       "intermedia, por Satterthwaite, con sus gl sin redondear, y por el "
                       "método MLS de Graybill y Wang, sobre la varianza. Las cotas superiores "
                       "son unilaterales.")};
    tables.back().notes.append(AbsenceNotes({.mls = absent.mls}));

    // The headings of the acceptance stand even before a limit is given.
    const std::vector<FigureGroup> headings =
        ExtendedFigureGroups(snapshot.anova, analysis, {AcceptanceFigures{}, std::nullopt});
    const bool judged = acceptance.repeatability || acceptance.intermediate;
    ResultTable& verdicts =
        tables.emplace_back(WalkTable(judged ? groups : headings, "Aceptación", "Medida",
                                      {{"acceptance/repeatability"}, {"acceptance/intermediate"}},
                                      {{"limit"}, {"rsd"}, {"rsd_upper"}, {"verdict"}}, separator));
    if (!judged) {
        verdicts.rows.clear();
    }
    verdicts.notes = {QStringLiteral("Cumple cuando la cota superior no pasa del límite; cumple "
                                     "sin demostrarlo cuando sólo la estimación no pasa de él. "
                                     "La precisión intermedia se juzga con la cota MLS.")};
    verdicts.notes.append(FlaggedDayNotes(FlaggedDays(analysis)));

    ResultTable& fTests = tables.emplace_back(
        WalkTable(groups, "Pruebas F", "Fuente", {{"anova/analyst"}, {"anova/day"}},
                  {{"f"}, {"p"}, {"p_exact"}, {"conclusion"}, {"conclusion_exact"}}, separator));
    fTests.notes = {QStringLiteral("P aproximada: la del método clásico de este programa; P "
                                   "exacta: la de la distribución F. La conclusión se toma al "
                                   "nivel de significancia %1.")
                        .arg(level)};
    fTests.notes.append(AbsenceNotes({.analystTest = absent.analystTest}));
    if (analysis.exactConclusionsDiffer) {
        fTests.notes.append(
            QStringLiteral("Atención: con la P exacta cambia la conclusión de una prueba al "
                           "nivel %1.")
                .arg(level));
    }

    tables.push_back(
        WalkTable(groups, "Pruebas de consistencia", "Prueba",
                  {{"cochran"},
                   {"grubbs/analysts/high", "grubbs/analysts"},
                   {"grubbs/analysts/low", "grubbs/analysts"},
                   {"grubbs/days/high", "grubbs/days"},
                   {"grubbs/days/low", "grubbs/days"}},
                  {{"c", "g"}, {"critical_5"}, {"critical_1"}, {"verdict"}, {"analyst"}, {"day"}},
                  separator));
    tables.back().notes = {QStringLiteral("Hasta el crítico del 5 %: correcto; hasta el del 1 %: "
                                          "dudoso; por encima: aberrante.")};
    tables.back().notes.append(AbsenceNotes({.cochran = absent.cochran,
                                             .grubbsAnalysts = absent.grubbsAnalysts,
                                             .grubbsDays = absent.grubbsDays}));
    tables.push_back(MandelTable(snapshot, separator));
    return tables;
}

std::optional<MandelStatistics> MandelOfStudy(const StudyValues& values) {
    if (values.analysts < kMandelMinAnalysts || !values.GetDesign().IsComplete()) {
        return std::nullopt;
    }
    return ComputeMandel(values);
}

QString MandelAbsenceNote(const StudyValues& values) {
    if (const auto reason = MandelAbsence(values.analysts)) {
        return QString::fromStdString(*reason);
    }
    if (!values.GetDesign().IsComplete()) {
        return QStringLiteral("Sin estadísticos h y k de Mandel: sus valores indicadores suponen "
                              "el mismo número de resultados en cada analista y día, y a este "
                              "estudio le faltan resultados.");
    }
    return {};
}

QColor VerdictColour(Acceptance verdict) {
    switch (verdict) {
    case Acceptance::MeetsUnproven:
        return {191, 128, 0};
    case Acceptance::Fails:
        return {200, 0, 0};
    case Acceptance::Meets:
        break;
    }
    return {0, 128, 0};
}

std::vector<FlaggedDay> FlaggedDays(const ExtendedAnalysis& analysis) {
    std::vector<FlaggedDay> flagged;
    const auto flag = [&flagged](const char* test, Verdict verdict, const DayOfAnalyst& day) {
        if (verdict == Verdict::Correct) {
            return;
        }
        const QString reason = Text(test) + QStringLiteral(": ") + Text(VerdictText(verdict));
        const auto same = std::find_if(flagged.begin(), flagged.end(), [&](const FlaggedDay& f) {
            return f.analyst == day.analyst && f.day == day.day;
        });
        if (same != flagged.end()) {
            same->reason += QStringLiteral("; ") + reason;
        } else {
            flagged.push_back({day.analyst, day.day, reason});
        }
    };
    flag("Cochran", analysis.cochran.verdict, analysis.cochran.largest);
    for (const GrubbsTest& days : analysis.grubbs.daysOfAnalysts) {
        flag("Grubbs alto", days.high.verdict, days.high.day);
        flag("Grubbs bajo", days.low.verdict, days.low.day);
    }
    return flagged;
}

QString MissingResultsLine(const StudyValues& values) {
    const Design design = values.GetDesign();
    if (design.IsComplete()) {
        return {};
    }
    QStringList where;
    for (int analyst = 1; analyst <= design.Analysts(); ++analyst) {
        for (int day = 1; day <= design.Days(); ++day) {
            if (std::isnan(values.DayMean(analyst, day))) {
                where.append(
                    QStringLiteral("analista %1, día %2, sin resultados").arg(analyst).arg(day));
                continue;
            }
            for (int replicate = 1; replicate <= design.Replicates(); ++replicate) {
                if (!design.HoldsResult({analyst, day, replicate})) {
                    where.append(QStringLiteral("analista %1, día %2, réplica %3")
                                     .arg(analyst)
                                     .arg(day)
                                     .arg(replicate));
                }
            }
        }
    }
    return QStringLiteral("%1 %2 de %3 resultados (NA): %4.")
        .arg(design.MissingCount() == 1 ? QStringLiteral("Falta") : QStringLiteral("Faltan"))
        .arg(design.MissingCount())
        .arg(design.ResultCount())
        .arg(where.join(QStringLiteral("; ")));
}

QStringList StudyLines(const ExtendedSnapshot& snapshot, const QString& unit) {
    QStringList lines{QStringLiteral("Método: ") +
                          QString::fromStdString(snapshot.study.methodName),
                      QStringLiteral("Fecha: ") + QString::fromStdString(snapshot.study.date),
                      QStringLiteral("Archivo: ") +
                          (snapshot.file.isEmpty() ? QStringLiteral("sin guardar") : snapshot.file),
                      QStringLiteral("Huella SHA-256 de los datos: ") +
                          (snapshot.fingerprint.digest
                               ? QString::fromStdString(snapshot.fingerprint.digest->Described())
                               : QStringLiteral("no calculada: ") + snapshot.fingerprint.missing),
                      QStringLiteral("Unidad de los resultados: ") +
                          (unit.isEmpty() ? QStringLiteral("no indicada") : unit)};
    if (const QString missing = MissingResultsLine(snapshot.values); !missing.isEmpty()) {
        lines.append(missing);
    }
    return lines;
}

QString TabSeparated(const QStringList& studyLines, const std::vector<ResultTable>& tables) {
    QStringList lines = studyLines;
    for (const ResultTable& table : tables) {
        if (table.rows.empty()) {
            continue;
        }
        lines.append(QString());
        lines.append(table.title);
        lines.append(table.headings.join(QLatin1Char('\t')));
        for (const QStringList& row : table.rows) {
            lines.append(row.join(QLatin1Char('\t')));
        }
        lines.append(table.notes);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace orbeta
