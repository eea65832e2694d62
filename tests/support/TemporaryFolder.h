#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orbeta::testing {

// A fresh folder for one test, removed with everything in it when the test ends.
class TemporaryFolder {
public:
    // In the system's temporary directory, or in `parent` when given.
    explicit TemporaryFolder(const std::filesystem::path& parent = {});
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder();

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace orbeta::testing
