#pragma once

#include "print/ValidationRecord.h"

#include <QString>

namespace orbeta {

// Writes the validation record of a study as an A4 PDF file, titled «Registro de
// validación: <method>, <date>».
// The record is drawn in memory, then takes the target's place whole: a failed export leaves the
// target as it was. Throws Error with the file's message.
void WriteRecordPdf(const QString& fileName, const Study& study, const RecordFigures& figures,
                    const RecordIdentity& identity, char decimalSeparator);

} // namespace orbeta
