#pragma once
// A fresh directory per test: the sandbox root (Documents, Library, tmp appear under it) and a
// main bundle with a writable Info.plist. Defaults start empty. The destructor removes the
// directory and puts the platform settings and defaults back.

#include "Foundation/Value.h"

#include <string>

class TestSandbox {
public:
    TestSandbox();
    ~TestSandbox();
    TestSandbox(const TestSandbox&) = delete;
    TestSandbox& operator=(const TestSandbox&) = delete;

    // The directory holding both.
    const std::string& root() const { return root_; }
    std::string sandboxRoot() const { return root_ + "/sandbox"; }
    std::string mainBundlePath() const { return root_ + "/Main.app"; }
    // root() + "/" + relative
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    // Replaces the main bundle's Info.plist.
    void writeInfoPlist(const Value& dictionary) const;

private:
    std::string root_;
};
