// Faults provoked for real during a content update: a disk that fills while packs are saved.

#include "TesselSDK/remote/tests/QZContentUpdateFixture.h"

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
    // Every pack gets many items, so that each pack save writes many pages of the journal. With the
    // fixture's one or two items a pack, a whole update writes about nine pages: half of that is
    // hardly more than the shared-memory index below, and a page or two spared by another order of
    // the saves would let every save fit.
    for (const char* identifier : {"fx1", "fr1", "st1"}) {
        const std::string relative = std::string("content/packs/") + identifier + ".json";
        Value document = Value::fromJSON(readTreeFile(relative));
        Value items = document["items"];
        const Value first = items.mutableArray().front();
        for (int copy = 0; copy < 600; ++copy) {
            Value item = first;
            item.setObject(std::string(identifier) + "_copy_" + std::to_string(copy), "identifier");
            items.addObject(std::move(item));
        }
        document.setObject(items, "items");
        writeTreeFile(relative, document.toJSON());
    }

    // What a whole update adds to the store's journal, measured on a run that succeeds (over the
    // journal of the empty store, whose tables are not the update's).
    manager()->contentPackManagedObjectContext();
    const std::uintmax_t emptyStore = storeJournalSize(sandbox.sandboxRoot());
    ASSERT_EQ(runUpdate().outcome, QZContentUpdateOutcome::Committed);
    const std::uintmax_t journal = storeJournalSize(sandbox.sandboxRoot()) - emptyStore;
    ASSERT_GT(journal, 0u);
    // The update's thumbnail downloads end first: one ending later would open the store again on
    // the main queue, and a connection open across the fork is shared with the child.
    ASSERT_TRUE(DispatchRunLoop::runUntil([&] { return !thumbnailsDownloading(); }, kTimeout));
    QZTesselContentManager::resetSharedManagerForTesting();
    QZTranslationManager::resetSharedManagerForTesting();
    std::filesystem::remove_all(sandbox.sandboxRoot() + "/Library/Application Support");
    removeDefault(kQZContentManagerCurrentContentManifestVerion);
    forgetLastUpdate();
    manager()->contentPackManagedObjectContext();  // the empty store, made here
    QZTesselContentManager::resetSharedManagerForTesting();

    // In a child allowed to write half of that, some pack save must fail. The limit stays well
    // above the 32 KiB shared-memory index SQLite writes beside a WAL store: below it the store
    // could not even open, and the update would fail for another reason or not at all.
    constexpr std::uintmax_t kSharedMemoryIndex = 32 * 1024;
    const std::uintmax_t limit = journal / 2;
    ASSERT_GT(limit, 2 * kSharedMemoryIndex) << "the packs are too small to fill the journal";
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
