#pragma once

#include "files/FileAccess.h"
#include "study/Study.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orbeta {

// A study file: the method name, the date and the three counts as lines, then every result on a
// line of its own, analyst after analyst, each analyst's day 1 replicates first. Lines end in
// carriage return and line feed; text is Windows-1252. The file types "*.w05" and "*.txt" are
// the same format.

// The largest file taken for a study: far above any study the format can hold.
inline constexpr std::size_t kMaxStudyFileBytes = 1 << 20;

// What a study file holds before it is laid out in a grid: the five lines as read (in UTF-8),
// the counts they give, and the results analyst after analyst, each analyst's day 1 replicates
// first.
struct StudyFileContents {
    std::string methodName;
    std::string date;
    std::string analystCount;
    std::string dayCount;
    std::string replicateCount;
    int analysts = 0;
    int days = 0;
    int replicates = 0;
    // The counts' design, each result the file holds as missing marked so.
    Design GetDesign() const;
    // The bytes read, which the file's fingerprint is taken of, and where in them each result
    // stands as the file writes it (its first byte and its size).
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> resultTexts;
    // Each result as a loaded grid shows it, with "." as its point: FormatResult's text when that
    // reads back as the number the file holds ("98.50" as "98.5"), otherwise the number as the
    // file writes it ("1234567"), so that opening a file never changes a value; a missing result
    // (the line "NA" in either case) as kMissingResult. Worked out when asked for, since a
    // report computes from the numbers alone.
    std::vector<std::string> ShownTexts() const;
    // Those texts read back by ParseResult: the numbers the program computes from, which are the
    // file's own (zero without its sign); a quiet NaN for a missing result, as StudyNumbers holds
    // it.
    std::vector<double> shownResults;
};

// The contents of a study file. Throws Error, and yields nothing, for a file that cannot be read,
// a count line that is not a whole number ("'<line>' is not a valid integer value"), a result
// that is not a number ("Invalid numeric input"), counts beyond what a study file holds, a file
// that ends before all its results, or a file too large to be a study.
StudyFileContents ParseStudyFileContents(std::string_view bytes);
StudyFileContents ReadStudyFileContents(const std::filesystem::path& path);
// The bytes of a study file as read, for whoever keeps them beside the study (its fingerprint);
// throws as ReadStudyFileContents does for a file that cannot be read or is too large.
std::string ReadStudyFileBytes(const std::filesystem::path& path);

// The study of a file's contents, laid out as a new capture window shows it: the five fields as
// read, the grid sized for the counts with its header cells, each result's shown text with the
// given separator as its point.
Study StudyOf(const StudyFileContents& contents, char decimalSeparator);

// The study a file holds: StudyOf its contents, failing as they do.
Study ParseStudyFile(std::string_view bytes, char decimalSeparator);
Study ReadStudyFile(const std::filesystem::path& path, char decimalSeparator);

// The bytes of the study's file: fields and cells as they stand, except that results are
// written with "." whatever the regional separator, so that the file always opens again, and a
// cell marking its result missing (IsMissingResult) as the line kMissingResult.
// Throws Error, before anything is written, for a result that ParseResult refuses, a method name
// or date the file cannot hold (a character outside Windows-1252, a line break, the byte 26),
// or counts beyond what a study file holds.
std::string StudyFileBytes(const Study& study, char decimalSeparator);

// Writes the study's file, replacing any file of that name only once the new one is complete
// (ReplaceFile, through `calls`).
void WriteStudyFile(const std::filesystem::path& path, const Study& study, char decimalSeparator,
                    const FileCalls& calls = SystemFileCalls());

// The leftovers of interrupted saves of `path` that hold a whole study file, which a kill between
// the last byte and the rename leaves.
std::vector<std::filesystem::path> CompleteInterruptedSaves(const std::filesystem::path& path);

} // namespace orbeta
