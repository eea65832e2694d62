#include "support/Processes.h"

#include "support/TemporaryFolder.h"

#include <cstdlib>
#include <sys/wait.h>

namespace orbeta::testing {

Outcome RunCommand(const std::string& command) {
    const TemporaryFolder folder;
    const std::string redirected =
        command + " >" + (folder / "out").string() + " 2>" + (folder / "err").string();
    const int status = std::system(redirected.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(folder / "out"),
            ReadBytes(folder / "err")};
}

} // namespace orbeta::testing
