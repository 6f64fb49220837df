#pragma once
// A notification without arguments, in place of the notification centre: connected blocks run
// in connection order on the thread that emits. A block stays connected as long as the
// QZScopedConnection that connect gave lives; a block disconnected while an emission runs is not
// called by it any more. The signal may die before its connections.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace customizer {

class QZScopedConnection;

class QZSignal {
public:
    QZSignal();
    [[nodiscard]] QZScopedConnection connect(std::function<void()> block);
    void emit() const;

private:
    friend class QZScopedConnection;
    struct Blocks {
        std::mutex mutex;
        uint64_t nextID = 1;
        std::map<uint64_t, std::function<void()>> byID;  // guarded by mutex
    };
    std::shared_ptr<Blocks> blocks_;
};

class QZScopedConnection {
public:
    QZScopedConnection() = default;
    QZScopedConnection(QZScopedConnection&& other) noexcept
        : blocks_(std::move(other.blocks_)), id_(std::exchange(other.id_, 0))
    {
    }
    QZScopedConnection& operator=(QZScopedConnection&& other) noexcept;
    ~QZScopedConnection() { disconnect(); }

    void disconnect();

private:
    friend class QZSignal;
    QZScopedConnection(std::weak_ptr<QZSignal::Blocks> blocks, uint64_t id) : blocks_(std::move(blocks)), id_(id) {}

    std::weak_ptr<QZSignal::Blocks> blocks_;
    uint64_t id_ = 0;
};

}  // namespace customizer
