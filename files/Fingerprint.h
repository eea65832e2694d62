#pragma once

#include "study/Study.h"

#include <string>
#include <string_view>

namespace orbeta {

// The SHA-256 digest of the bytes, as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// What ties a record to its data: the SHA-256 of the study file's bytes as opened or last saved,
// which equals `sha256sum` of that file; or, for a study modified since or never saved, of the
// bytes the program would write for it, marked as such.
struct DataFingerprint {
    std::string hex;
    bool unsaved = false;

    // The first 16 digits, which every page's footer shows.
    std::string Short() const { return hex.substr(0, 16); }
    // The digits, followed by « (modificado sin guardar)» when unsaved.
    std::string Described() const;
};

// The fingerprint of a study file's bytes as read or written.
DataFingerprint FingerprintOfSavedBytes(std::string_view bytes);

// The fingerprint of the bytes StudyFileBytes gives for the study, marked unsaved; throws as
// StudyFileBytes does.
DataFingerprint FingerprintOfUnsavedStudy(const Study& study, char decimalSeparator);

} // namespace orbeta
