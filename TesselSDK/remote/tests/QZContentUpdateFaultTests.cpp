// Faults provoked for real during a content update: a disk that fills while packs are saved.

#include "TesselSDK/remote/tests/QZContentUpdateFixture.h"

#include <algorithm>
#include <filesystem>

#include "Foundation/NSLogCapture.h"
#include "TesselSDK/remote/QZContentPackFetchOperation.h"
#include "testing/FaultInjection.h"

namespace {

std::uintmax_t storeJournalSize(const std::string& root)
{
    std::uintmax_t size = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.path().filename() == "TesselContentPackData.sqlite-wal") size = entry.file_size();
    return size;
}

}  // namespace

TEST_F(QZContentUpdateTest, ADiskFillingDuringPackSavesFailsThoseFetchesAndCommitsNothing)
{
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer does not support threads started in a child forked from threads";
#endif
    // What a whole update adds to the store's journal, measured on a run that succeeds (over the
    // journal of the empty store, whose tables are not the update's).
    manager()->contentPackManagedObjectContext();
    const std::uintmax_t emptyStore = storeJournalSize(sandbox.sandboxRoot());
    ASSERT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
    const std::uintmax_t journal = storeJournalSize(sandbox.sandboxRoot()) - emptyStore;
    ASSERT_GT(journal, 0u);
    QZTesselContentManager::resetSharedManagerForTesting();
    std::filesystem::remove_all(sandbox.sandboxRoot() + "/Library/Application Support");
    removeDefault(kQZContentManagerCurrentContentManifestVerion);
    forgetLastUpdate();
    manager()->contentPackManagedObjectContext();  // the empty store, made here
    QZTesselContentManager::resetSharedManagerForTesting();

    // In a child allowed to write half of that, some pack save must fail. The limit never falls
    // below the 32 KiB shared-memory index SQLite writes beside a WAL store: below it the store
    // could not even open, and the update would fail for another reason or not at all.
    constexpr std::uintmax_t kSharedMemoryIndex = 32 * 1024;
    const std::uintmax_t limit = std::max(journal / 2, kSharedMemoryIndex + 1);
    const int status = runInChildWithFileSizeLimit(limit, [&] {
        NSLogCapture quiet;
        const QZContentUpdateResult result = runUpdate();
        if (result.outcome != QZContentUpdateOutcome::Failed) return 10;
        bool coreDataError = false;
        for (const auto& [identifier, error] : result.fetchErrors)
            coreDataError |= error->domain() == kQZCoreDataErrorDomain && error->code() == 0;
        if (!coreDataError) return 11;
        if (!committedVersion().empty()) return 12;
        if (manager()->isUpdatingAssets()) return 13;
        QZTesselContentManager::resetSharedManagerForTesting();
        return 0;
    });
    EXPECT_EQ(status, 0);

    // The store opens, and the next update installs everything.
    NSUserDefaults::resetStandardUserDefaults();
    forgetLastUpdate();
    const QZContentUpdateResult next = runUpdate();
    EXPECT_EQ(next.outcome, QZContentUpdateOutcome::Committed) << next.reason;
    // The packs the child stored reach the main-queue context through its merges.
    EXPECT_TRUE(DispatchRunLoop::runUntil([&] { return packs().size() == 3; }, kTimeout)) << packs().size();
    for (const auto& [identifier, pack] : packs()) EXPECT_FALSE(pack->orderedItems().empty()) << identifier;
}
