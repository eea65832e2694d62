#include "ui/ExtendedAnalysisContent.h"

#include "engine/ExtendedFigures.h"
#include "engine/UTs.h"
#include "study/Numbers.h"

#include <algorithm>
#include <string>

namespace orbeta {

namespace {

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

QStringList Texts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}

// A table of the walk's figures as the record lays it out, under its title.
ResultTable WalkTable(const std::vector<FigureGroup>& groups, const char* title,
                      FigureTableKind kind, char separator) {
    const FigureTable figures = FigureTableOf(groups, LayoutOf(kind), separator);
    ResultTable table{Text(title), Texts(figures.headings), {}, {}, {}};
    for (const std::vector<std::string>& row : figures.rows) {
        table.rows.push_back(Texts(row));
    }
    for (const bool word : figures.wordColumns) {
        table.wordColumns.append(word);
    }
    return table;
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
// value named under them; h alone, and why, when the study has no k; without the statistics,
// only why.
ResultTable MandelTable(const ExtendedSnapshot& snapshot, char separator) {
    ResultTable table{QStringLiteral("Estadísticos h y k de Mandel"),
                      {QStringLiteral("Analista"), QStringLiteral("h"),
                       QStringLiteral("Veredicto de h"), QStringLiteral("k"),
                       QStringLiteral("Veredicto de k")},
                      {},
                      {},
                      {true, false, true, false, true}};
    if (!snapshot.mandel) {
        table.notes = {
            QString::fromStdString(MandelAbsence(snapshot.values.analysts).value_or(""))};
        return table;
    }
    const MandelStatistics& mandel = *snapshot.mandel;
    const std::optional<std::string> withoutK = MandelKAbsence(mandel);
    const auto number = [separator](double value) {
        return QString::fromStdString(FormatResult(value, separator));
    };
    for (const MandelAnalyst& analyst : mandel.analysts) {
        QStringList& row =
            table.rows.emplace_back(QStringList{QString::number(analyst.analyst), number(analyst.h),
                                                Text(VerdictText(analyst.hVerdict))});
        if (!withoutK) {
            row.append({number(analyst.k), Text(VerdictText(analyst.kVerdict))});
        }
    }
    if (withoutK) {
        constexpr qsizetype kHColumns = 3;
        table.headings.resize(kHColumns);
        table.wordColumns.resize(kHColumns);
        table.notes = {QStringLiteral("Valores indicadores (ISO 5725-2): h, %1 al 5 % y %2 al 1 %, "
                                      "en valor absoluto. h compara la media de cada analista "
                                      "con las de los demás.")
                           .arg(number(mandel.h5), number(mandel.h1)),
                       QString::fromStdString(*withoutK)};
    } else {
        table.notes = {
            QStringLiteral("Valores indicadores (ISO 5725-2): h, %1 al 5 % y %2 al 1 %, en "
                           "valor absoluto; k, %3 al 5 % y %4 al 1 %. h compara la media "
                           "de cada analista con las de los demás; k, su repetibilidad.")
                .arg(number(mandel.h5), number(mandel.h1), number(mandel.k5), number(mandel.k1))};
        // The indicator values of k rest on a mean of degrees of freedom then.
        if (snapshot.analysis.missingResults > 0) {
            table.notes.append(
                QStringLiteral("Con resultados faltantes, la DE de cada analista agrupa sus días, "
                               "cada uno con sus propios resultados, y los valores indicadores "
                               "de k toman ν = gl del error / p = %1.")
                    .arg(number(mandel.nu)));
        }
    }
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
    const std::vector<FigureGroup> groups = WithoutAbsentFigures(
        ExtendedFigureGroups(snapshot.anova, analysis, acceptance), analysis.absent);
    const AbsentFigures& absent = analysis.absent;
    const QString level = QString::fromStdString(FormatResult(kSignificanceLevel, separator));
    std::vector<ResultTable> tables;
    tables.reserve(kExtendedTables);

    ResultTable& components = tables.emplace_back(
        WalkTable(groups, "Componentes de la varianza", FigureTableKind::Components, separator));
    components.notes = ZeroedComponentNotes(snapshot.anova);
    for (const std::string& sentence : FlagSentences(analysis.flags)) {
        components.notes.append(QString::fromStdString(sentence));
    }

    tables.push_back(WalkTable(groups, "Intervalos de confianza al 95 %",
                               FigureTableKind::Intervals, separator));
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
    ResultTable& verdicts = tables.emplace_back(WalkTable(judged ? groups : headings, "Aceptación",
                                                          FigureTableKind::Acceptance, separator));
    if (!judged) {
        verdicts.rows.clear();
    }
    verdicts.notes = {QStringLiteral("Cumple cuando la cota superior no pasa del límite; cumple "
                                     "sin demostrarlo cuando sólo la estimación no pasa de él. "
                                     "La precisión intermedia se juzga con la cota MLS.")};
    verdicts.notes.append(FlaggedDayNotes(FlaggedDays(analysis)));

    ResultTable& fTests =
        tables.emplace_back(WalkTable(groups, "Pruebas F", FigureTableKind::FTests, separator));
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
        WalkTable(groups, "Pruebas de consistencia", FigureTableKind::Consistency, separator));
    tables.back().notes = {QStringLiteral("Hasta el crítico del 5 %: correcto; hasta el del 1 %: "
                                          "dudoso; por encima: aberrante.")};
    tables.back().notes.append(AbsenceNotes({.cochran = absent.cochran,
                                             .grubbsAnalysts = absent.grubbsAnalysts,
                                             .grubbsDays = absent.grubbsDays}));
    tables.push_back(MandelTable(snapshot, separator));
    return tables;
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
    if (const std::string missing = MissingResultsSentence(snapshot.values); !missing.empty()) {
        lines.append(QString::fromStdString(missing));
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
