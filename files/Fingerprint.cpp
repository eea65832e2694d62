#include "files/Fingerprint.h"

#include "files/StudyFile.h"
#include "study/Error.h"

#include <openssl/evp.h>

#include <array>

namespace orbeta {

std::string Sha256Hex(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    // Fetched once for the process: EVP_sha256() fetches the implementation at every call.
    static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    if (sha256 == nullptr ||
        EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, sha256, nullptr) != 1) {
        throw Error("No se pudo calcular la huella SHA-256 de los datos.");
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int index = 0; index < length; ++index) {
        hex += kDigits[digest[index] >> 4];
        hex += kDigits[digest[index] & 0x0f];
    }
    return hex;
}

std::string DataFingerprint::Described() const {
    return unsaved ? hex + " (modificado sin guardar)" : hex;
}

DataFingerprint FingerprintOfSavedBytes(std::string_view bytes) {
    return {Sha256Hex(bytes), false};
}

DataFingerprint FingerprintOfUnsavedStudy(const Study& study, char decimalSeparator) {
    return {Sha256Hex(StudyFileBytes(study, decimalSeparator)), true};
}

} // namespace orbeta
