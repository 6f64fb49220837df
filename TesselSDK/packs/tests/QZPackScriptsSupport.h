#pragma once
// What the pack tools' script suites share, over the tool scripts' support: the measures their
// scripts are held to (the Tintype photo against qop_apply's, the frame's band and middle), the
// built fixture server started as a person starts it, a run of the built tessel_editor on a new
// content root, and an in-process fixture that plays a script on a new content root (against the
// in-process fixture server when asked), possibly in parts with checks between them, and records
// the content-applied notifications.
#include "TesselSDK/tools/tests/QZToolScriptsSupport.h"

#include "TesselSDK/packs/QZContentAppliedNotification.h"
#include "TesselSDK/remote/QZTesselContentManager.h"

#include "Foundation/NSNotificationCenter.h"
#include "testing/TesselFixtureServer.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>

#include <sys/wait.h>

namespace pack_scripts {

using namespace tool_scripts;

// ---- Measures ----

// Per colour channel (R, G, B) absolute differences of the pixels where `inside` holds.
inline std::vector<int> channelDifferences(const Pixels& a, const Pixels& b,
                                           const std::function<bool(std::size_t, std::size_t)>& inside)
{
    std::vector<int> differences;
    for (std::size_t y = 0; y < a.height; ++y)
        for (std::size_t x = 0; x < a.width; ++x)
            if (inside(x, y))
                for (int c = 0; c < 3; ++c) differences.push_back(std::abs(int(a.at(x, y)[c]) - int(b.at(x, y)[c])));
    return differences;
}

inline double mean(const std::vector<int>& values)
{
    double sum = 0;
    for (int v : values) sum += v;
    return values.empty() ? 0 : sum / double(values.size());
}

inline int percentile99(std::vector<int> values)
{
    if (values.empty()) return 0;
    const std::size_t at = std::min(values.size() - 1, std::size_t(double(values.size()) * 0.99));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(at), values.end());
    return values[at];
}

// The photo as `qop_apply --recipe RECIPE PHOTO OUT` writes it; nullopt (with a failure) when it
// did not.
inline std::optional<Pixels> qopApplyRecipe(const std::string& recipe, const std::string& photo, const fs::path& out)
{
    const example_test::ProgramRun run = example_test::runProgram(QOP_APPLY_PATH, {"--recipe", recipe, photo, out});
    EXPECT_EQ(run.status, 0) << run.output;
    return readPNG(out);
}

inline fs::path tintypeRecipe()
{
    return fs::path(TESSEL_SOURCE_DIR) / "TesselSDK/Resources/packs/classic_effects/tintype.json";
}

// The edited photo equals what the Tintype recipe makes of the photo, within 2 levels at the 99th
// percentile of the channel differences.
inline void expectTintype(const Pixels& reference, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, reference));
    EXPECT_LE(percentile99(channelDifferences(output, reference, [](std::size_t, std::size_t) { return true; })), 2);
}

// A frame: the outer 3 % band differs from the photo by at least 10 levels on average, the central
// 50 % box by at most 2.
inline void expectFramed(const Pixels& input, const Pixels& output)
{
    ASSERT_TRUE(sameSize(output, input));
    const double W = double(input.width), H = double(input.height);
    auto band = [&](std::size_t x, std::size_t y) {
        return double(x) < 0.03 * W || double(x) >= 0.97 * W || double(y) < 0.03 * H || double(y) >= 0.97 * H;
    };
    auto middle = [&](std::size_t x, std::size_t y) {
        return double(x) >= W / 4 && double(x) < 3 * W / 4 && double(y) >= H / 4 && double(y) < 3 * H / 4;
    };
    EXPECT_GE(mean(channelDifferences(output, input, band)), 10) << "no frame on the border";
    EXPECT_LE(mean(channelDifferences(output, input, middle)), 2) << "the middle changed";
}

// ---- The built programs ----

// tessel_fixture_server --port 0 DIR, as a person starts it; its first line is the URL it serves.
class FixtureServerProgram {
public:
    explicit FixtureServerProgram(const std::string& directory)
    {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(ends[1], STDOUT_FILENO);
            close(ends[0]);
            close(ends[1]);
            execl(TESSEL_FIXTURE_SERVER_PATH, TESSEL_FIXTURE_SERVER_PATH, "--port", "0", directory.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ends[1]);
        out_ = fdopen(ends[0], "r");
        char line[256] = {};
        if (out_ && std::fgets(line, sizeof line, out_)) url_ = line;
        while (!url_.empty() && (url_.back() == '\n' || url_.back() == '\r')) url_.pop_back();
    }
    ~FixtureServerProgram()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
        if (out_) std::fclose(out_);
    }
    FixtureServerProgram(const FixtureServerProgram&) = delete;
    FixtureServerProgram& operator=(const FixtureServerProgram&) = delete;

    // Empty when the server did not start.
    const std::string& url() const { return url_; }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    std::string url_;
};

inline fs::path storeTree()
{
    return fs::path(TESSEL_CONTENT_FIXTURES_DIR) / "store-tree";
}

// Where a content root keeps the downloaded packs.
inline fs::path packsFolder(const fs::path& root)
{
    return root / "Library" / "Application Support" / "tessel_editor" / "TesselContentPacks";
}

// The script played by the built tessel_editor on the photo, on the new content root `root`
// (and with --server when given): exit 0, the photo's size, a screenshot after each step.
inline std::optional<Pixels> runThroughProgram(const std::string& name, const std::string& photo, const fs::path& dir,
                                               const fs::path& root, const std::string& server = {})
{
    const fs::path output = dir / (name + ".png");
    const fs::path screenshots = dir / name / "shots";
    std::vector<std::string> args{"--headless",     "--script",      scriptPath(name).string(),
                                  "--content-root", root.string(),   "--output",
                                  output.string(),  "--screenshots", screenshots.string()};
    if (!server.empty()) args.insert(args.end(), {"--server", server});
    args.push_back(photo);
    const example_test::ProgramRun run = example_test::runProgram(TESSEL_EDITOR_PATH, args);
    EXPECT_EQ(run.status, 0) << run.output;
    if (run.status != 0) return std::nullopt;
    const auto shots = std::distance(fs::directory_iterator(screenshots), fs::directory_iterator());
    EXPECT_EQ(shots, screenshotLines(scriptText(name)));
    const auto written = readPNG(output);
    EXPECT_TRUE(written) << "no " << output;
    return written;
}

// ---- In-process ----

struct Applied {
    bool objectIsNil = false;
    Value userInfo;
};

class QZPackScriptsInProcessTest : public QZToolScriptsInProcessTest {
protected:
    void SetUp() override
    {
        QZToolScriptsInProcessTest::SetUp();
        if (IsSkipped()) return;
        root_ = dir_ / "root";
        center_ = NSNotificationCenter::defaultCenter();
        observer_ = center_->addObserverForName(QZContentAppliedNotification, nullptr,
                                                [this](const std::shared_ptr<NSNotification>& note) {
                                                    applied_.push_back({note->object() == nullptr, note->userInfo()});
                                                });
    }
    void TearDown() override
    {
        if (center_) center_->removeObserver(observer_);
        QZToolScriptsInProcessTest::TearDown();
        server_.reset();
    }

    // A new content root for the editor, asking the in-process fixture server for the store tree
    // when `withServer`.
    bool useContentRoot(bool withServer)
    {
        tessel_editor::ContentOptions options;
        options.contentRoot = root_.string();
        if (withServer) {
            server_ = std::make_unique<TesselFixtureServer>();
            server_->serveDirectory(storeTree().string());
            options.server = server_->baseURL();
        }
        std::string error;
        const bool applied = tessel_editor::applyContentOptions(options, &error);
        EXPECT_TRUE(applied) << error;
        return applied;
    }

    // The script in parts: after the first line equal to each of `stops`, in order, its check
    // runs; the last part must reach Done.
    bool playInParts(const std::string& name, const Pixels& photo,
                     const std::vector<std::pair<std::string, std::function<void()>>>& stops)
    {
        const std::vector<std::string> lines = tessel_editor::splitLines(scriptText(name));
        auto opened = openForScript(name, photo);
        if (!opened) return false;
        tessel_editor::ScriptRunner& runner = *opened;
        auto from = lines.begin();
        for (const auto& [stop, check] : stops) {
            auto at = std::find(from, lines.end(), stop);
            if (at == lines.end()) {
                ADD_FAILURE() << "no line \"" << stop << "\" in " << name;
                return false;
            }
            const tessel_editor::ScriptResult part = runner.run(std::vector<std::string>(from, at + 1));
            if (part.status != tessel_editor::ScriptResult::Status::Ended) {
                ADD_FAILURE() << "before \"" << stop << "\", line " << part.line << ": " << part.message;
                return false;
            }
            tessel_editor::EditorHost::settle();
            check();
            from = at + 1;
        }
        const tessel_editor::ScriptResult result = runner.run(std::vector<std::string>(from, lines.end()));
        tessel_editor::EditorHost::settle();
        if (result.status != tessel_editor::ScriptResult::Status::Finished || !played_.host->result() ||
            !recorder_->seen) {
            ADD_FAILURE() << "line " << result.line << ": " << result.message;
            return false;
        }
        played_.result = qz_test::pixelsOf(played_.host->result());
        played_.seen = qz_test::pixelsOf(recorder_->seen);
        return true;
    }

    // The events in order, with their attributes less the facade's standard ones.
    std::vector<std::pair<std::string, std::map<std::string, Value>>> ownEvents() const
    {
        const Value standard = QZAnalytics::standardAttributes();
        std::vector<std::pair<std::string, std::map<std::string, Value>>> events;
        for (const auto& [name, attributes] : analytics_->events) {
            std::map<std::string, Value> own;
            if (const Value::Dictionary* all = attributes.asDictionary())
                for (const auto& [key, value] : *all)
                    if (standard[key] != value) own.emplace(key, value);
            events.emplace_back(name, std::move(own));
        }
        return events;
    }
    // The first event of that name; nullopt when there is none.
    std::optional<std::map<std::string, Value>> ownEvent(const std::string& name) const
    {
        for (auto& [eventName, own] : ownEvents())
            if (eventName == name) return own;
        return std::nullopt;
    }
    // The names appear in this order among the events (others may come between).
    ::testing::AssertionResult eventsInOrder(const std::vector<std::string>& expected) const
    {
        std::vector<std::string> names;
        for (const auto& [name, attributes] : analytics_->events) names.push_back(name);
        auto at = names.begin();
        for (const std::string& name : expected) {
            at = std::find(at, names.end(), name);
            if (at == names.end()) return ::testing::AssertionFailure() << "\"" << name << "\" missing or out of order";
            ++at;
        }
        return ::testing::AssertionSuccess();
    }
    bool reportedScreen(const std::string& screen) const
    {
        return std::find(analytics_->calls.begin(), analytics_->calls.end(), "tagScreen: " + screen) !=
               analytics_->calls.end();
    }
    // The full-size result equals a replay of the closed session within 1 level. What the person
    // saw of a frame is not compared with a replay: the preview draws it from the editing pieces,
    // the session from the full-resolution ones.
    void expectFullSizeReplayAgrees()
    {
        const auto full = replay(std::nullopt);
        ASSERT_TRUE(full) << "no full-size replay";
        ASSERT_TRUE(sameSize(played_.result, *full));
        EXPECT_LE(qz_test::maxDifference(played_.result, *full), 1);
    }
    std::shared_ptr<QZToolViewController> currentTool() const { return played_.host->editor()->toolViewController(); }

    fs::path root_;
    std::unique_ptr<TesselFixtureServer> server_;
    std::shared_ptr<NSNotificationCenter> center_;
    std::shared_ptr<NSObject> observer_;
    std::vector<Applied> applied_;
};

}  // namespace pack_scripts
