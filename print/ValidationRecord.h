#pragma once

#include "engine/ExtendedAnalysis.h"
#include "engine/Mandel.h"
#include "engine/StudyValues.h"
#include "engine/Ucalculo.h"
#include "files/Fingerprint.h"
#include "print/PrintSurface.h"
#include "study/Study.h"

#include <optional>
#include <string>

namespace orbeta {

// Every figure a validation record states about a study.
struct RecordFigures {
    StudyValues values;
    AnovaTable anova;
    PrecisionSummary precision;
    ExtendedAnalysis extended;
    AcceptanceResult acceptance;
    std::optional<MandelStatistics> mandel; // with at least 3 analysts
};

// The figures of a study that passed the study checks, against the limits given. Throws the
// Error of the computation that fails, with the text the user sees.
RecordFigures ComputeRecordFigures(const Study& study, char decimalSeparator,
                                   const AcceptanceLimits& limits);

// Who and what a record is tied to, beside the study itself.
struct RecordIdentity {
    std::string fileName; // the study file's name, empty for a study never saved
    DataFingerprint fingerprint;
    std::string unit;       // of the results, free text; empty when none was given
    std::string program;    // the program and its version, «ORBETA 3.1»
    std::string exportedAt; // the date and time of the export, as the reader reads them
};

// The validation record of a study on A4 pages, as one job on the surface: a header on every
// page (the method, the study date, «Página x de y») and a footer (the fingerprint's first 16
// digits, the program, the export's date and time); the study's identity, its results in the
// grid's layout, the analysis of variance and the mean, the precision measures, the variance
// components, the intervals and bounds, the acceptance, the F tests, Cochran's and Grubbs's
// tests, Mandel's h and k, the variability chart and the signature block. Throws Error when the
// surface cannot begin a job.
void PrintValidationRecord(PrintSurface& surface, const Study& study, const RecordFigures& figures,
                           const RecordIdentity& identity, char decimalSeparator);

// The name proposed for a study's record: «Registro <method> <date>.pdf», each character a file
// name cannot hold on the usual systems (/ \ : * ? " < > | and control characters) replaced by
// «-», blanks at either end of the method and the date dropped, and «Registro.pdf»'s parts
// alone for an empty method or date.
std::string ProposedRecordFileName(const std::string& methodName, const std::string& date);

} // namespace orbeta
