// tessel_editor's --content-root and --server, run as a person runs the program: a new root starts
// from the packs the editor ships and asks nobody; a root made earlier keeps its store; with a
// server the content update and its downloads finish before the script goes on; editors sharing
// a root with the service's messages all answer Done; options that cannot work are refused.
#include "support/RunProgram.h"

#include "GLES/EGLDisplayConnection.h"
#include "ImageIO/ImageIOCodec.h"
#include "testing/TesselFixtureServer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Editing needs a GL context: the runs that reach Done skip where none can be made.
bool haveGL()
{
    return EGLDisplayConnection::open(nullptr) != nullptr;
}

class TesselEditorContentOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tessel_editor_content.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        input_ = dir_ / "input.png";
        output_ = dir_ / "out.png";
        std::vector<std::uint8_t> pixels(64 * 48 * 4, 200);
        std::string error;
        ASSERT_TRUE(ImageIOWritePNGFile(input_.string(), pixels.data(), 64, 48, &error)) << error;
    }
    void TearDown() override { fs::remove_all(dir_); }

    int run(const std::vector<std::string>& args)
    {
        example_test::ProgramRun run = example_test::runProgram(TESSEL_EDITOR_PATH, args);
        output = std::move(run.output);
        return run.status;
    }
    static fs::path supportFolder(const fs::path& root)
    {
        return root / "Library" / "Application Support" / "tessel_editor";
    }
    // "identifier|packType" of every pack in the root's store, by identifier.
    static std::vector<std::string>
    storedPacks(const fs::path& root,
                const std::string& sql = "SELECT A_identifier, A_packType FROM E_Pack ORDER BY A_identifier")
    {
        std::vector<std::string> rows;
        sqlite3* db = nullptr;
        const std::string path = (supportFolder(root) / "TesselContentPackData.sqlite").string();
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            sqlite3_exec(
                db, sql.c_str(),
                [](void* out, int columns, char** values, char**) {
                    std::string row;
                    for (int i = 0; i < columns; ++i) {
                        if (i) row.push_back('|');
                        if (values[i]) row.append(values[i]);
                    }
                    static_cast<std::vector<std::string>*>(out)->push_back(row);
                    return 0;
                },
                &rows, nullptr);
        }
        sqlite3_close(db);
        return rows;
    }

    fs::path dir_, input_, output_;
    std::string output;
};

TEST_F(TesselEditorContentOptions, ANewRootStartsFromTheShippedPacksAndARootLackingOneGetsItBackOnce)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path root = dir_ / "new" / "root";
    ASSERT_EQ(run({"--headless", "--content-root", root.string(), "--output", output_.string(), input_.string()}), 0)
        << output;
    EXPECT_TRUE(fs::is_regular_file(output_));
    EXPECT_EQ(storedPacks(root),
              (std::vector<std::string>{"classic_effects|effect", "classic_frames|frame", "doodle_stickers|sticker"}));
    // Nothing was asked of a content service: none was named.
    EXPECT_FALSE(fs::exists(supportFolder(root) / "TesselContentPacks" / "classic_frames_thumbnail.zip"));

    // The store is the root's from now on, but a pack the editor ships that it lacks comes back at
    // the next start, once.
    storedPacks(root, "DELETE FROM E_Pack WHERE A_identifier = 'classic_effects'");
    ASSERT_EQ(run({"--headless", "--content-root", root.string(), input_.string()}), 0) << output;
    EXPECT_EQ(storedPacks(root),
              (std::vector<std::string>{"classic_effects|effect", "classic_frames|frame", "doodle_stickers|sticker"}));
    ASSERT_EQ(run({"--headless", "--content-root", root.string(), input_.string()}), 0) << output;
    EXPECT_EQ(storedPacks(root),
              (std::vector<std::string>{"classic_effects|effect", "classic_frames|frame", "doodle_stickers|sticker"}));
}

TEST_F(TesselEditorContentOptions, WithAServerTheUpdateAndItsDownloadsFinishBeforeTheScriptGoesOn)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path tree = dir_ / "store-tree";
    fs::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/store-tree", tree, fs::copy_options::recursive);
    TesselFixtureServer server;
    server.serveDirectory(tree.string());
    const fs::path root = dir_ / "root";
    const fs::path script = dir_ / "script.txt";
    std::ofstream(script) << "expect Photo Editor\ntap Done\n";
    ASSERT_EQ(run({"--script", script.string(), "--content-root", root.string(), "--server", server.baseURL(),
                   "--output", output_.string(), input_.string()}),
              0)
        << output;
    EXPECT_EQ(
        storedPacks(root, "SELECT A_identifier, A_index FROM E_Pack ORDER BY A_index, A_identifier"),
        (std::vector<std::string>{"harbour|0", "classic_effects|1000", "classic_frames|1000", "doodle_stickers|1000"}));
    EXPECT_TRUE(fs::is_regular_file(supportFolder(root) / "TesselContentPacks" / "harbour_thumbnail.zip"));
    EXPECT_EQ(server.requestCount("/ios/cds/api/tessel-example/version.json"), 1);
}

// The first launch on a root fetches the service's messages; the next presents the latest one
// when the home screen appears, and later ones none for a while: the card is drawn, goes with its
// button, and every launch answers Done.
TEST_F(TesselEditorContentOptions, EditorsSharingARootWithMessagesAllAnswerDoneAndTheCardIsDismissed)
{
    if (!haveGL()) GTEST_SKIP() << "no GL context here";
    const fs::path tree = dir_ / "content-tree";
    fs::copy(std::string(TESSEL_CONTENT_FIXTURES_DIR) + "/content-tree", tree, fs::copy_options::recursive);
    TesselFixtureServer server;
    server.serveDirectory(tree.string());
    const struct {
        const char* name;
        const char* script;
    } launches[] = {
        {"the first launch fetches the messages", "wait 2\ntap Done\n"},
        {"the second shows the latest and it is dismissed",
         "wait 2\nexpect Tessel turns ten\ntap Celebrate\nwait 1\ntap Done\n"},
        {"the third shows none", "wait 2\ntap Done\n"},
    };
    const fs::path root = dir_ / "root";
    const fs::path script = dir_ / "script.txt";
    for (const auto& launch : launches) {
        SCOPED_TRACE(launch.name);
        std::ofstream(script) << launch.script;
        fs::remove(output_);
        EXPECT_EQ(run({"--script", script.string(), "--content-root", root.string(), "--server", server.baseURL(),
                       "--output", output_.string(), input_.string()}),
                  0)
            << output;
        EXPECT_TRUE(fs::is_regular_file(output_));
    }
}

TEST_F(TesselEditorContentOptions, OptionsThatCannotWorkAreRefused)
{
    const fs::path file = dir_ / "a-file";
    std::ofstream(file) << "not a folder";
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"--server", "ftp://127.0.0.1/", input_.string()}, 2, "usage:"},
        {{"--server", "not a url", input_.string()}, 2, "usage:"},
        {{"--server"}, 2, "usage:"},
        {{"--content-root"}, 2, "usage:"},
        {{"--headless", "--content-root", (file / "root").string(), "--output", output_.string(), input_.string()},
         1,
         "cannot make the content root"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(run(c.args), c.status) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(output_));
    }
}

}  // namespace
