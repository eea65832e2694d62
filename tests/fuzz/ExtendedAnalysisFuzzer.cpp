// Feeds the whole analysis random studies and limits: counts within the study ranges, any
// finite results, limits of any value or none. Whatever they are, each figure is computed or
// refused with an Error carrying the user's text; no other exception and no crash.
#include "engine/ExtendedAnalysis.h"
#include "engine/Ucalculo.h"
#include "study/Error.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// The input read in order; past its end, zeros.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t Byte() { return m_used < m_size ? m_data[m_used++] : 0; }
    double Finite() {
        std::uint8_t raw[sizeof(double)] = {};
        for (std::uint8_t& byte : raw) {
            byte = Byte();
        }
        double value = 0;
        std::memcpy(&value, raw, sizeof value);
        return std::isfinite(value) ? value : 0.0;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_used = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    const int analysts = 2 + bytes.Byte() % 9;
    const int days = 2 + bytes.Byte() % 9;
    const int replicates = 2 + bytes.Byte() % 4;
    const std::uint8_t given = bytes.Byte();
    orbeta::AcceptanceLimits limits;
    if (given & 1) {
        limits.repeatability = bytes.Finite();
    }
    if (given & 2) {
        limits.intermediate = bytes.Finite();
    }
    // A few distinct values repeated keep small inputs meaningful: ties, zero spread, one
    // outlying day.
    std::vector<double> values(1 + bytes.Byte() % 8);
    for (double& value : values) {
        value = bytes.Finite();
    }
    std::vector<double> results(static_cast<std::size_t>(analysts * days * replicates));
    for (double& result : results) {
        result = values[bytes.Byte() % values.size()];
    }
    try {
        orbeta::AnalyseStudy(
            orbeta::StudyNumbers(orbeta::Design(analysts, days, replicates), results), limits);
    } catch (const orbeta::Error&) {
        // The arithmetic a double cannot hold, or a limit that is no number above zero.
    }
    return 0;
}
