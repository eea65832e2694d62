#pragma once

// The installation check: the installed files against the package's record of them. The record
// is dpkg's (`dpkg --verify orbeta`, over the md5sums the package manager took from the package
// when it installed it): it lies outside the files it describes, so a change to the program's
// files cannot bring its own record along, and an auditor can run the same command by hand. Its
// digest, MD5, guards against corruption and accidental change, which is what the check is for;
// it is no defence against a deliberate forgery by someone who can write to /usr, and neither
// would a manifest of SHA-256 digests shipped among the very files it lists.

#include <string>
#include <string_view>
#include <vector>

namespace orbeta::qualification {

// What dpkg says of the package: whether it is installed, `dpkg --verify`'s lines and whether
// it ended well (an exit status of 0).
struct PackageRecord {
    bool installed = false;
    std::string verifyOutput;
    bool verifyEndedWell = false;
};

// The system as the check sees it; tests give a scripted one.
class InstallationProbe {
public:
    virtual ~InstallationProbe() = default;
    // The full path of the running program.
    virtual std::string ProgramPath() = 0;
    virtual PackageRecord Package() = 0;
};

// The probe of this machine: /proc/self/exe, dpkg-query and dpkg --verify (in its rpm format,
// named, as dpkg asks of programs that read it) on the package "orbeta".
class SystemProbe final : public InstallationProbe {
public:
    std::string ProgramPath() override;
    PackageRecord Package() override;
};

enum class InstallationState {
    Uninstalled, // runs from elsewhere than where the package puts it: nothing to compare
    Verified,    // every file of the package as its record says
    Differs,     // some file changed or missing, or dpkg could not tell
    NoRecord,    // where the package puts it, but dpkg knows no package "orbeta"
};

struct InstallationCheck {
    InstallationState state = InstallationState::Uninstalled;
    std::vector<std::string> lines; // what the report says of it
    bool Passed() const {
        return state == InstallationState::Uninstalled || state == InstallationState::Verified;
    }
};

// Where the package installs the program of this name: "/usr/bin/orbeta-report".
std::string PackagedProgram(std::string_view name);

// Checks the installation of the program that runs, which the package installs as
// `installedProgram` (e.g. "/usr/bin/orbeta-report"). Each differing file is named: «Modificado:
// /usr/bin/orbeta», «Falta: /usr/share/man/man1/orbeta.1.gz».
InstallationCheck CheckInstallation(InstallationProbe& probe, std::string_view installedProgram);

} // namespace orbeta::qualification
