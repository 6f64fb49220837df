#pragma once
// A headless OpenGL ES 2 context made current on the calling thread for as long as it is open:
// for the programs, benchmarks and tests that drive QopLite outside the editor (the editor's
// context comes from its GL manager). Use it on one thread.

#include "GLES/EGLCoreContext.h"

#include <memory>
#include <string>

class EGLHeadlessContext {
public:
    EGLHeadlessContext() = default;
    ~EGLHeadlessContext() { close(); }
    EGLHeadlessContext(const EGLHeadlessContext&) = delete;
    EGLHeadlessContext& operator=(const EGLHeadlessContext&) = delete;

    // Creates the context and makes it current. false, with nothing left behind and the reason
    // in *why (may be null), when no display opens or the context cannot be made current.
    bool open(std::string* why);
    // Releases and destroys the context (and EGL's state of this thread); closed: nothing.
    void close();

    bool isOpen() const { return context_ != nullptr; }
    EGLContext handle() const { return context_ ? context_->handle() : EGL_NO_CONTEXT; }
    // "surfaceless" or "device"; null while closed.
    const char* route() const { return context_ ? context_->connection().route() : nullptr; }

private:
    std::unique_ptr<EGLCoreContext> context_;
};
