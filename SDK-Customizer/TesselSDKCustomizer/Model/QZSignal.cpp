#include "Model/QZSignal.h"

#include <vector>

namespace customizer {

QZSignal::QZSignal() : blocks_(std::make_shared<Blocks>()) {}

QZScopedConnection QZSignal::connect(std::function<void()> block)
{
    std::lock_guard lock(blocks_->mutex);
    uint64_t id = blocks_->nextID++;
    blocks_->byID.emplace(id, std::move(block));
    return QZScopedConnection(blocks_, id);
}

void QZSignal::emit() const
{
    std::vector<uint64_t> ids;
    {
        std::lock_guard lock(blocks_->mutex);
        for (const auto& [id, block] : blocks_->byID) ids.push_back(id);
    }
    // Each block is looked up again and called outside the lock, so blocks may connect and
    // disconnect (themselves or others) while the emission runs.
    for (uint64_t id : ids) {
        std::function<void()> block;
        {
            std::lock_guard lock(blocks_->mutex);
            auto found = blocks_->byID.find(id);
            if (found == blocks_->byID.end()) continue;
            block = found->second;
        }
        block();
    }
}

QZScopedConnection& QZScopedConnection::operator=(QZScopedConnection&& other) noexcept
{
    if (this != &other) {
        disconnect();
        blocks_ = std::move(other.blocks_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void QZScopedConnection::disconnect()
{
    if (std::shared_ptr<QZSignal::Blocks> blocks = blocks_.lock()) {
        std::lock_guard lock(blocks->mutex);
        blocks->byID.erase(id_);
    }
    blocks_.reset();
    id_ = 0;
}

}  // namespace customizer
