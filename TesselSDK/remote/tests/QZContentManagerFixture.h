#pragma once
// Test support: a fresh sandbox per test with the remote record classes and a recording analytics
// session registered; the shared content manager is forgotten after each test, so the next one
// (or a simulated restart) opens the store files as a new run of the process would.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Dispatch/DispatchRunLoop.h"
#include "Foundation/NSLogCapture.h"
#include "Foundation/NSUserDefaults.h"
#include "Network/SCNetworkReachability.h"
#include "TesselSDKFoundation/QZFileSystemUtils.h"
#include "TesselSDKFoundation/QZSDKResources.h"
#include "TesselSDK/remote/QZContentPack.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"
#include "TesselSDK/remote/QZTesselContentManager.h"
#include "TesselSDKFoundation/tests/QZTestMetricsSession.h"
#include "testing/TestSandbox.h"

class QZContentManagerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TesselSDKRemoteRegisterClasses();
        QZTestMetricsSession::registerClass(session);
        // No test depends on the machine's network.
        SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    }
    void TearDown() override
    {
        QZTesselContentManager::resetSharedManagerForTesting();
        QZSDKResources::unloadResources();
        QZTestMetricsSession::unregisterClass();
        SCNetworkReachabilitySetFlagsOverride(std::nullopt);
    }

    static std::shared_ptr<QZTesselContentManager> manager() { return QZTesselContentManager::sharedManager(); }
    static std::shared_ptr<NSUserDefaults> defaults() { return NSUserDefaults::standardUserDefaults(); }
    // The next sharedManager is a new run of the process over the same files.
    static void restart()
    {
        QZTesselContentManager::resetSharedManagerForTesting();
        NSUserDefaults::resetStandardUserDefaults();
    }
    // Turns the main run loop until the condition holds (at most five seconds).
    static bool pumpUntil(const std::function<bool()>& condition) { return DispatchRunLoop::runUntil(condition, 5.0); }

    std::filesystem::path supportDirectory() const { return QZFileSystemUtils::applicationSupportDirectory().value(); }
    std::string storePath() const { return (supportDirectory() / kQZContentStoreFileName).string(); }
    std::filesystem::path resourceBundle() const
    {
        return std::filesystem::path(sandbox->mainBundlePath()) / "TesselSDKResources.bundle";
    }

    static void write(const std::filesystem::path& path, const std::string& contents)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }

    // Runs one statement through a plain SQLite connection; answers the first column of the first
    // row ("" when there is none, "error: ..." when it fails).
    static std::string sqlite(const std::string& path, const std::string& sql)
    {
        sqlite3* db = nullptr;
        std::string answer;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            answer = std::string("error: ") + sqlite3_errmsg(db);
        } else {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
                answer = std::string("error: ") + sqlite3_errmsg(db);
            else if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0))
                answer = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return answer;
    }

    // A new sandbox root: what a fresh install of the app would find.
    void freshSandbox()
    {
        restart();
        QZSDKResources::unloadResources();
        sandbox.reset();
        sandbox = std::make_unique<TestSandbox>();
    }

    std::unique_ptr<TestSandbox> sandbox = std::make_unique<TestSandbox>();
    std::shared_ptr<QZTestMetricsSession> session = NSObject::create<QZTestMetricsSession>();
};
