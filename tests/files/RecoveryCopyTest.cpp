#include "files/RecoveryCopy.h"
#include "support/Expectations.h"
#include "support/Studies.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace orbeta {
namespace {

using testing::ErrorOf;
using testing::TemporaryFolder;

TEST(RecoveryCopy, KeepsEveryTextAsTypedWhateverItHolds) {
    RecoveryCopy copy{"/home/ana/estudios/bad\xff\xfe.w05",
                      FileIdentity{2049, 1234567, 400, -1765300000123456789LL}, 1765300000,
                      testing::WorkedExample()};
    copy.study.methodName = "Valoración \\n de verdad\r\nsegunda línea";
    copy.study.date = "";
    copy.study.SetCell(2, 3, "9,8x");
    copy.study.SetCell(1, 6, "");
    for (const std::optional<FileIdentity>& identity :
         {copy.fileIdentity, std::optional<FileIdentity>()}) {
        copy.fileIdentity = identity;
        const RecoveryCopy back = ParseRecoveryCopy(RecoveryCopyBytes(copy));
        EXPECT_EQ(back.studyFile, copy.studyFile);
        EXPECT_EQ(back.fileIdentity, identity);
        EXPECT_EQ(back.takenAt, copy.takenAt);
        EXPECT_TRUE(testing::SameFieldsAndGrid(back.study, copy.study));
    }

    const std::string whole = RecoveryCopyBytes(copy);
    for (const std::string& damaged :
         {std::string(), whole.substr(0, whole.size() - 1), whole + "more\n",
          "ORBETA recovery copy 2" + whole.substr(whole.find('\n'))}) {
        EXPECT_EQ(ErrorOf([&] { ParseRecoveryCopy(damaged); }),
                  "La copia de recuperación está dañada.");
    }
}

TEST(RecoveryFolder, IsTheUsersStateFolder) {
    EXPECT_EQ(RecoveryFolder("/srv/state", "/home/ana"), "/srv/state/orbeta");
    EXPECT_EQ(RecoveryFolder(nullptr, "/home/ana"), "/home/ana/.local/state/orbeta");
    EXPECT_EQ(RecoveryFolder("relative/state", "/home/ana"), "/home/ana/.local/state/orbeta");
}

// A copy is offered only once the program holding it has let it go, and never twice at once.
TEST(RecoverySlot, ACopyIsLeftBehindOnlyWhenNoRunningProgramHoldsIt) {
    TemporaryFolder state;
    const auto folder = state / "orbeta";
    const RecoveryCopy copy{"/a/study.w05", std::nullopt, 1, testing::WorkedExample()};
    std::optional<RecoverySlot> held = RecoverySlot::Create(folder);
    held->Write(copy);
    EXPECT_TRUE(RecoverySlot::ClaimLeftBehind(folder).empty()) << "held by a running program";

    held.reset();
    std::vector<RecoverySlot> claimed = RecoverySlot::ClaimLeftBehind(folder);
    ASSERT_EQ(claimed.size(), 1u);
    EXPECT_EQ(claimed.front().Read().studyFile, copy.studyFile);
    EXPECT_TRUE(RecoverySlot::ClaimLeftBehind(folder).empty()) << "claimed by this start";

    claimed.front().Remove();
    claimed.clear();
    EXPECT_TRUE(RecoverySlot::ClaimLeftBehind(folder).empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 0)
        << "neither the copy nor its lock is left";
}

} // namespace
} // namespace orbeta
