#pragma once
// One target-action pair, as controls and gesture recognisers keep them. The action is a member
// function of the target's class taking nothing, the sender, or the sender and the event:
//
//   button->addTarget(self<Screen>(), &Screen::done, UIControlEventTouchUpInside);
//   void Screen::done(UIButton* sender);
//
// The sender parameter may name any class the sender is (it is converted with dynamic_cast).
// Targets are held weakly: a pair whose target died does nothing. Pairs compare by target and
// member, so removal names the same two; a matcher with no target or no action matches all.

#include "Foundation/NSObject.h"

#include <array>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <typeindex>

class UIEvent;

class UITargetAction {
public:
    // The identity of an action: its member pointer's type and bytes.
    struct Key {
        std::type_index type = typeid(void);
        std::array<unsigned char, 2 * sizeof(void*)> bytes{};
        bool operator==(const Key& other) const { return type == other.type && bytes == other.bytes; }
    };

    template <class T, class C, class... Args>
    requires std::derived_from<T, C>
    static UITargetAction make(const std::shared_ptr<T>& target, void (C::*action)(Args...))
    {
        static_assert(sizeof...(Args) <= 2, "an action takes nothing, the sender, or the sender and the event");
        UITargetAction pair;
        pair.target_ = std::weak_ptr<void>(target);
        pair.key_ = keyOf(action);
        pair.call_ = [weak = std::weak_ptr<C>(target), action](NSObject* sender, UIEvent* event) {
            auto strong = weak.lock();
            if (!strong) return;
            C* object = strong.get();
            if constexpr (sizeof...(Args) == 0) {
                (object->*action)();
            } else {
                using Sender = std::tuple_element_t<0, std::tuple<Args...>>;
                static_assert(std::is_pointer_v<Sender>, "the sender is passed as a pointer");
                auto* typed = dynamic_cast<Sender>(sender);
                if constexpr (sizeof...(Args) == 1)
                    (object->*action)(typed);
                else
                    (object->*action)(typed, event);
            }
        };
        return pair;
    }

    template <class C, class... Args>
    static Key keyOf(void (C::*action)(Args...))
    {
        static_assert(sizeof(action) <= sizeof(Key::bytes));
        Key key;
        key.type = typeid(action);
        std::memcpy(key.bytes.data(), &action, sizeof(action));
        return key;
    }

    // Calls the action unless the target has died.
    void send(NSObject* sender, UIEvent* event) const { call_(sender, event); }
    bool isTargetAlive() const { return !target_.expired(); }
    bool hasTarget(const std::weak_ptr<void>& target) const
    {
        return !target_.owner_before(target) && !target.owner_before(target_);
    }
    bool sameTarget(const UITargetAction& other) const { return hasTarget(other.target_); }
    const Key& key() const { return key_; }

    // What a removal names.
    struct Matcher {
        std::optional<std::weak_ptr<void>> target;
        std::optional<Key> action;
        bool matches(const UITargetAction& pair) const
        {
            return (!target || pair.hasTarget(*target)) && (!action || pair.key() == *action);
        }
    };
    // `target` a shared pointer or nullptr, `action` a member pointer or nullptr; null matches all.
    template <class T, class A>
    static Matcher matcher(const T& target, A action)
    {
        Matcher m;
        if constexpr (!std::is_null_pointer_v<T>) {
            if (target) m.target = std::weak_ptr<void>(target);
        }
        if constexpr (!std::is_null_pointer_v<A>) {
            if (action) m.action = keyOf(action);
        }
        return m;
    }

private:
    std::weak_ptr<void> target_;
    Key key_;
    std::function<void(NSObject*, UIEvent*)> call_;
};
