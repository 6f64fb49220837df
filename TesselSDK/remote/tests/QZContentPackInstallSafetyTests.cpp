#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Foundation/NSLogCapture.h"
#include "TesselSDK/remote/tests/QZContentPackDownloadSupport.h"
#include "testing/FaultInjection.h"

namespace {

namespace fs = std::filesystem;

class QZContentPackInstallSafetyTest : public QZContentPackDownloadFixture {
protected:
    // Every path under the sandbox but the content store's own files, which its journal changes.
    std::set<std::string> sandboxTree() const
    {
        std::set<std::string> paths;
        for (const std::string& path : tree(sandbox->root()))
            if (path.find(kQZContentStoreFileName) == std::string::npos) paths.insert(path);
        return paths;
    }
    bool pumpUntilReset()
    {
        return DispatchRunLoop::runUntil(
            [&] {
                return !events.empty() && events.back().name == "downloadProgress" && events.back().progress == -1.0f;
            },
            20);
    }
};

// What the screens hear of a refused download: the failure first, then the two reset reports.
// Progress reports of the body received before the failure are left out: they are posted
// asynchronously, so they may arrive after the failure, which is posted at once.
std::vector<std::string> names(const std::vector<QZProviderEvent>& events)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].name != "downloadProgress" || i + 1 == events.size()) result.push_back(events[i].name);
    return result;
}

TEST_F(QZContentPackInstallSafetyTest, EveryCorruptionIsRefusedAndAnInstalledArchiveStaysAsItWas)
{
    const std::string ok = R"({"status": "OK"})";
    const std::string image = qz_archive_test::squarePNG(4);
    const std::string valid = validArchive();
    struct Case {
        const char* name;
        std::function<Response()> answer;  // served at the pack's archive URL
        std::uint64_t fileSizeLimit = 0;   // a full disk: the download runs in a child limited to this
        std::string identifier = "pack";
    };
    const std::vector<Case> cases = {
        {"404", [] { return Response::text("<html>no such pack</html>", 404, "text/html"); }},
        {"500", [] { return Response::text("<html>oops</html>", 500, "text/html"); }},
        {"closed halfway",
         [&] {
             Response r = binary(valid);
             r.dropAfterBytes = valid.size() / 2;
             return r;
         }},
        {"truncated zip", [&] { return binary(valid.substr(0, valid.size() / 2)); }},
        {"no zip", [] { return binary("these bytes are no zip archive"); }},
        {"no status.json", [&] { return binary(archiveBytes(ZipBuilder().addStored("a.png", image))); }},
        {"status FAIL",
         [&] {
             return binary(archiveBytes(
                 ZipBuilder().addStored("status.json", R"({"status": "FAIL"})").addStored("a.png", image)));
         }},
        {"status.json not JSON",
         [&] { return binary(archiveBytes(ZipBuilder().addStored("status.json", "OK").addStored("a.png", image))); }},
        {"a flipped byte inside an image",
         [&] {
             return binary(archiveBytes(ZipBuilder()
                                            .addStored("status.json", ok)
                                            .addStored("a.png", image)
                                            .flipByteInStoredEntry("a.png", 30)));
         }},
        {"full disk", [&] { return binary(validArchive(1 << 20)); }, 256 << 10},
        {"identifier leaving the content directory", [&] { return binary(valid); }, 0, "../../x"},
    };
    int number = 0;
    for (const Case& c : cases) {
        for (bool installedFirst : {false, true}) {
            SCOPED_TRACE(std::string(c.name) +
                         (installedFirst ? ", over an installed archive" : ", nothing installed"));
            const bool safeName = c.identifier == "pack";
            const std::string identifier = safeName ? c.identifier + std::to_string(++number) : c.identifier;
            // For "../../x", where a path made from the name would have put the archive.
            const fs::path installed = contentDirectory() / (identifier + ".zip");
            const std::string before = archiveBytes(
                ZipBuilder().addStored("status.json", ok).addStored("a.png", qz_archive_test::squarePNG(2)));
            server.setRoute("/" + identifier + ".zip", c.answer());
            auto stored = pack(identifier);
            auto provider = stored->highResolutionResourceProvider();
            // Read before the archive appears: a provider in state 3 would not download again.
            ASSERT_EQ(provider->state(), 1);
            if (installedFirst) write(installed, before);
            const int stateAfter = installedFirst && safeName ? 3 : 1;
            const std::set<std::string> sandboxBefore = sandboxTree();
            const std::size_t requestsBefore = server.requests().size();
            events.clear();
            NSLogCapture log;

            std::vector<std::string> expected = {"state", "fail", "state", "downloadProgress"};
            if (!safeName) expected.erase(expected.begin());  // no download starts
            if (c.fileSizeLimit) {
                int status = runInChildWithFileSizeLimit(c.fileSizeLimit, [&] {
                    provider->downloadResources();
                    if (!pumpUntilReset()) return 10;
                    settle();
                    if (names(events) != expected) return 11;
                    if (events[events.size() - 2].state != stateAfter) return 12;
                    return provider->state() == stateAfter && !provider->isDownloading() ? 0 : 13;
                });
                EXPECT_EQ(status, 0);
            } else {
                provider->downloadResources();
                ASSERT_TRUE(pumpUntilReset());
                settle();
                ASSERT_EQ(names(events), expected);
                EXPECT_EQ(events[events.size() - 2].state, stateAfter);
            }
            for (const auto& event : events) EXPECT_TRUE(event.name != "fail" || event.highRes);
            if (!c.fileSizeLimit) {
                EXPECT_EQ(provider->state(), stateAfter);
                EXPECT_FALSE(provider->isDownloading());
                EXPECT_EQ(provider->downloadProgress(), -1.0f);
            }
            if (installedFirst) {
                EXPECT_EQ(readFile(installed), before) << "byte-identical";
            }
            EXPECT_EQ(sandboxTree(), sandboxBefore) << "nothing new anywhere under the sandbox root";
            EXPECT_TRUE(tree(temporaryDirectory()).empty());
            if (!safeName) {
                EXPECT_EQ(server.requests().size(), requestsBefore) << "no request for a name that forms no path";
                EXPECT_TRUE(log.contains("-[QZContentPackResourceProvider downloadResources]"));
            }
        }
    }
}

}  // namespace
