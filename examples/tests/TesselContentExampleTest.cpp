// Runs examples/tessel_content as people do, against the loopback fixture server serving a copy
// of the built content trees: the command-line contract, a hostile tree, and a run killed while
// the server holds a pack document.

#include "ImageIO/ImageIOCodec.h"
#include "testing/ProgramSpawn.h"
#include "testing/TesselFixtureServer.h"
#include "testing/TestSandbox.h"
#include "testing/ZipBuilder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kNow = "1800000000";

struct ProgramRun {
    int status = -1;  // -1 when a signal ended it
    std::string out;
    std::string err;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Starts the program with stdout and stderr going to files beside `logs`.
pid_t spawn(const std::vector<std::string>& arguments, const std::string& logs)
{
    tessel_testing::ProgramSpawn spawn{TESSEL_CONTENT_PATH, arguments};
    spawn.stdoutFile = logs + ".out";
    spawn.stderrFile = logs + ".err";
    return tessel_testing::spawnProgram(spawn);
}

ProgramRun finish(pid_t pid, const std::string& logs)
{
    ProgramRun run;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
    run.out = readFile(logs + ".out");
    run.err = readFile(logs + ".err");
    return run;
}

// A new root starts from the packs the editor ships, which need no download; they list first.
const std::string kShipped = "classic_effects 1.0 1\nclassic_frames 1.0 1\ndoodle_stickers 1.0 1\n";

class TesselContentExampleTest : public ::testing::Test {
protected:
    void serve(const char* treeName)
    {
        fs::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/" + treeName, tree, fs::copy_options::recursive);
        server.serveDirectory(tree);
    }
    ProgramRun run(std::vector<std::string> arguments, const std::vector<std::string>& options = {"--now", kNow})
    {
        std::vector<std::string> all = {"--root", root, "--server", server.baseURL()};
        all.insert(all.end(), options.begin(), options.end());
        all.insert(all.end(), arguments.begin(), arguments.end());
        const std::string logs = sandbox.path("run" + std::to_string(++runs));
        return finish(spawn(all, logs), logs);
    }
    std::string installedArchive(const std::string& name)
    {
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.path().filename() == name) return entry.path().string();
        return {};
    }

    TestSandbox sandbox;
    std::string tree = sandbox.path("tree");
    std::string root = sandbox.path("runs/root");
    TesselFixtureServer server;
    int runs = 0;
};

TEST_F(TesselContentExampleTest, UpdateListAndDownloadKeepTheirContract)
{
    serve("content-tree");
    const std::string installed = kShipped + "fr1 1.0 1\nfx1 1.0 1\nst1 1.0 1\n";
    ProgramRun update = run({"update"});
    EXPECT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(update.out, installed);
    const std::size_t requests = server.requests().size();

    ProgramRun list = run({"list"});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, installed);
    ProgramRun again = run({"update"}, {"--now", "1800000060"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, installed);
    EXPECT_EQ(server.requests().size(), requests) << "list and an update within the spacing ask nothing";

    ProgramRun download = run({"download", "st1"});
    EXPECT_EQ(download.status, 0) << download.err;
    EXPECT_EQ(download.out, "st1 1.0 3\n");
    EXPECT_NE(download.err.find("st1 100%"), std::string::npos) << download.err;
    const std::string archive = installedArchive("st1.zip");
    ASSERT_FALSE(archive.empty());
    const std::string before = readFile(archive);

    // The server's archive cut short: the download fails and the installed one stays as it was.
    const std::string served = tree + "/content/archives/st1.zip";
    fs::resize_file(served, fs::file_size(served) / 2);
    ProgramRun truncated = run({"download", "st1"});
    EXPECT_EQ(truncated.status, 1) << truncated.out;
    EXPECT_EQ(readFile(archive), before);
    EXPECT_EQ(run({"list"}).out, kShipped + "fr1 1.0 1\nfx1 1.0 1\nst1 1.0 3\n");

    ProgramRun unknown = run({"download", "nope"});
    EXPECT_EQ(unknown.status, 1);
}

TEST_F(TesselContentExampleTest, FailedDownloadsAndHeldBackUpdatesSayWhy)
{
    serve("content-tree");
    using Response = TesselFixtureServer::Response;
    server.setRoute("/content/archives/st1_thumbnail.zip", Response::text("gone", 404, "text/plain"));
    ProgramRun update = run({"update"});
    EXPECT_EQ(update.status, 0) << "thumbnails do not decide an update";
    EXPECT_NE(update.err.find("warning: the thumbnails of st1 were not downloaded: HTTP status 404"), std::string::npos)
        << update.err;
    EXPECT_EQ(update.err.find("thumbnails of fx1"), std::string::npos) << update.err;

    ProgramRun again = run({"update"}, {"--now", "1800000060"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find("60 s ago"), std::string::npos) << again.err;
    EXPECT_NE(again.err.find("the next is due at 2027-01-15 08:20:00 UTC (in 1140 s)"), std::string::npos) << again.err;

    // A first download (through the pack's provider) and a download again, each with its cause.
    server.setRoute("/content/archives/st1.zip", Response::text("gone", 404, "text/plain"));
    ProgramRun missing = run({"download", "st1"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("the download of st1 failed: HTTP status 404"), std::string::npos) << missing.err;
    server.removeRoute("/content/archives/st1.zip");
    ASSERT_EQ(run({"download", "st1"}).status, 0);
    const std::string served = tree + "/content/archives/st1.zip";
    fs::resize_file(served, fs::file_size(served) / 2);
    ProgramRun damaged = run({"download", "st1"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("the download of st1 failed: the archive is incomplete or damaged"), std::string::npos)
        << damaged.err;
}

TEST_F(TesselContentExampleTest, MalformedCommandLinesExitTwoAndNoServiceExitsOne)
{
    serve("content-tree");
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"download"},
                                               {"list", "extra"},
                                               {"--now", "soon", "list"},
                                               {"--server", "ftp://127.0.0.1", "list"},
                                               {"--root"}}) {
        const std::string logs = sandbox.path("usage" + std::to_string(++runs));
        ProgramRun usage = finish(spawn(arguments, logs), logs);
        EXPECT_EQ(usage.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_NE(usage.err.find("usage:"), std::string::npos);
    }
    const std::string logs = sandbox.path("noservice");
    ProgramRun noService = finish(spawn({"--root", root, "update"}, logs), logs);
    EXPECT_EQ(noService.status, 1);
    EXPECT_EQ(server.requests().size(), 0u);
    const std::string messageLogs = sandbox.path("nomessageservice");
    ProgramRun noMessageService = finish(spawn({"--root", root, "messages"}, messageLogs), messageLogs);
    EXPECT_EQ(noMessageService.status, 1);
    EXPECT_NE(noMessageService.err.find("message update failed"), std::string::npos) << noMessageService.err;
    EXPECT_EQ(server.requests().size(), 0u);
}

TEST_F(TesselContentExampleTest, HostileNamesWriteNothingOutsideTheRoot)
{
    serve("hostile-tree");
    ProgramRun update = run({"update"});
    EXPECT_EQ(update.status, 1);
    EXPECT_EQ(update.out, kShipped + "st1 1.0 1\n");
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_FALSE(entry.path().filename().string().starts_with("evil")) << entry.path();
    for (const auto& entry : fs::directory_iterator(fs::path(root).parent_path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("evil")) << entry.path();
}

TEST_F(TesselContentExampleTest, ARunKilledMidUpdateLeavesAStoreTheNextRunCompletes)
{
    serve("content-tree");
    auto held = TesselFixtureServer::Response::text(readFile(tree + "/content/packs/st1.json"));
    held.stalls = true;
    server.setRoute("/content/packs/st1.json", held);
    const std::string logs = sandbox.path("killed");
    const pid_t child = spawn({"--root", root, "--server", server.baseURL(), "update"}, logs);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (server.requestCount("/content/packs/st1.json") == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // Give the other packs time to be saved, then end the run the hard way.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGKILL);
    EXPECT_EQ(finish(child, logs).status, -1);
    server.releaseStalls();
    server.removeRoute("/content/packs/st1.json");

    // The store opens, and every pack in it has its items.
    std::string store;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().filename() == "TesselContentPackData.sqlite") store = entry.path().string();
    ASSERT_FALSE(store.empty());
    ProgramRun list = run({"list"});
    EXPECT_EQ(list.status, 0) << list.err;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT COUNT(*) FROM E_Pack p WHERE NOT EXISTS "
                                 "(SELECT 1 FROM E_PackItem i WHERE i.R_pack = p.Z_PK)",
                                 -1, &statement, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 0) << "a pack without its items";
    sqlite3_finalize(statement);
    sqlite3_close(db);

    // The version was not committed: the next run installs everything.
    ProgramRun next = run({"update"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(next.out, kShipped + "fr1 1.0 1\nfx1 1.0 1\nst1 1.0 1\n");
}

TEST_F(TesselContentExampleTest, FourUpdatesAtOnceOnANewRootLeaveEachPackOnce)
{
    serve("content-tree");
    std::vector<std::pair<pid_t, std::string>> children;
    for (int i = 0; i < 4; ++i) {
        const std::string logs = sandbox.path("parallel" + std::to_string(i));
        children.emplace_back(spawn({"--root", root, "--server", server.baseURL(), "--now", kNow, "update"}, logs),
                              logs);
    }
    const std::string installed = kShipped + "fr1 1.0 1\nfx1 1.0 1\nst1 1.0 1\n";
    for (const auto& [pid, logs] : children) {
        ProgramRun update = finish(pid, logs);
        EXPECT_EQ(update.status, 0) << update.err;
        EXPECT_EQ(update.out, installed) << update.err;
    }
    EXPECT_EQ(server.requestCount("/content/packs/st1.json"), 1) << "the later updates found the packs stored";

    ProgramRun list = run({"list"});
    EXPECT_EQ(list.out, installed);
    std::string store;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().filename() == "TesselContentPackData.sqlite") store = entry.path().string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM E_Pack", -1, &statement, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 6) << "three shipped packs and three fetched, each once";
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

TEST_F(TesselContentExampleTest, MessagesPrintsTheMessageToDisplayOnceEverySeventyTwoHours)
{
    serve("content-tree");
    // m1 and m2 are eligible (m2 begins later), m3 names a pack.
    ProgramRun first = run({"messages"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "m2\n");
    EXPECT_FALSE(installedArchive("m2_banner@2x.jpg").empty()) << "the banner the editor's card loads";
    EXPECT_EQ(server.requestCount("/messages/archives/m1_retina.zip"), 1);

    // Within 72 hours nothing is shown, and the update asks for the version document only.
    const std::size_t requests = server.requests().size();
    ProgramRun soon = run({"messages"}, {"--now", "1800259199"});
    EXPECT_EQ(soon.status, 0) << soon.err;
    EXPECT_EQ(soon.out, "");
    EXPECT_EQ(server.requests().size(), requests + 1);
    // With --card the chosen message's card is written too: a phone window at scale 2.
    const std::string card = sandbox.path("card.png");
    ProgramRun later = run({"messages", "--card", card}, {"--now", "1800259200"});
    EXPECT_EQ(later.status, 0) << later.err;
    EXPECT_EQ(later.out, "m2\n");
    const std::string png = readFile(card);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    auto bigEndian = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(bigEndian(16), 640u);
    EXPECT_EQ(bigEndian(20), 960u);
    EXPECT_EQ(run({"messages", "--kard", card}).status, 2);
}

// The service sends a paragraph of twenty thousand characters: the card is written at once (it used
// to take minutes), its paragraph cut to what the card shows and drawn: white glyphs over the card
// above its buttons (a dark banner, so nothing else there is light).
TEST_F(TesselContentExampleTest, MessagesDrawsTheCardOfAVeryLongParagraph)
{
    serve("content-tree");
    std::string words;
    while (words.size() < 20000) words += "Frames, stickers and new effects for every photo. ";
    const std::string document = std::string(R"({"identifier": "m2", "beginDate": 1650000000, "endDate": 4102444800,
        "layoutStyle": "overlay", "isSplitButton": false, "action": "{\"action\":\"open\"}",
        "bannerImageIdentifier": "m2_banner", "title": {"text": "Tessel turns ten"},
        "dismissButtonText": {"text": "Celebrate"}, "paragraph": {"text": ")") +
                                 words + "\"}}";
    std::vector<std::uint8_t> dark(600 * 400 * 4, 0);
    for (std::size_t i = 3; i < dark.size(); i += 4) dark[i] = 255;
    std::vector<std::uint8_t> banner;
    ASSERT_TRUE(ImageIOEncodePNG(dark.data(), 600, 400, &banner));
    for (const char* archive : {"/messages/archives/m2_retina.zip", "/messages/archives/m2_nonRetina.zip"}) {
        ZipBuilder zip;
        zip.addDeflated("status.json", R"({"status": "OK"})")
            .addDeflated("message.json", document)
            .addStored("banner.jpg", std::string(banner.begin(), banner.end()));
        std::string error;
        ASSERT_TRUE(zip.writeTo(tree + archive, &error)) << error;
    }

    const std::string card = sandbox.path("card.png");
    ProgramRun run = this->run({"messages", "--card", card});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "m2\n");
    std::vector<std::uint8_t> pixels;
    std::size_t width = 0, height = 0;
    const std::string png = readFile(card);
    std::string error;
    ASSERT_TRUE(ImageIODecode(
        png.data(), png.size(),
        [&](std::size_t w, std::size_t h) {
            width = w;
            height = h;
            pixels.resize(w * h * 4);
            return static_cast<void*>(pixels.data());
        },
        &error))
        << error;
    ASSERT_EQ(width, 640u);
    ASSERT_EQ(height, 960u);
    // The card (banner 200 points, buttons 60) stands centred on the 480-point screen: its buttons
    // begin at 310 points, below the rows counted here.
    std::size_t light = 0;
    for (std::size_t y = 0; y < 600; ++y)
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &pixels[(y * width + x) * 4];
            light += p[0] > 200 && p[1] > 200 && p[2] > 200;
        }
    EXPECT_GT(light, 8000u) << "no paragraph drawn on the card";
}

TEST_F(TesselContentExampleTest, MessagesExitsOneWhenAFetchFailsAndFetchesOnlyThatOneNextTime)
{
    serve("content-tree");
    const std::string archive = tree + "/messages/archives/m1_retina.zip";
    const std::string good = readFile(archive);
    fs::resize_file(archive, fs::file_size(archive) / 2);
    ProgramRun failed = run({"messages"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("m1"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.out, "");

    std::ofstream(archive, std::ios::binary | std::ios::trunc) << good;
    ProgramRun next = run({"messages"}, {"--now", "1800000060"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(server.requestCount("/messages/archives/m2_retina.zip"), 1) << "a stored message was fetched again";
    EXPECT_EQ(server.requestCount("/messages/archives/m1_retina.zip"), 2);
}

TEST_F(TesselContentExampleTest, HostileMessagesWriteNothingOutsideTheRoot)
{
    serve("hostile-tree");
    ProgramRun messages = run({"messages"});
    EXPECT_EQ(messages.status, 0) << messages.err;
    // The served tree holds escape.json; the runs directory around the root must hold no such name.
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(root).parent_path())) {
        EXPECT_EQ(entry.path().filename().string().find("escape"), std::string::npos) << entry.path();
        EXPECT_FALSE(entry.path().filename().string().starts_with("message-")) << entry.path();
    }
}

}  // namespace
