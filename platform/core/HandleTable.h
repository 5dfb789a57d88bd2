// A table of shared objects addressed by opaque handle values. A value holds
// a slot index and the slot's generation; removing an object bumps the
// generation, so a handle that outlived its object finds nothing instead of
// whatever took the slot next.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace win::internal {

template <class T>
class HandleTable {
public:
    std::uintptr_t Insert(std::shared_ptr<T> object)
    {
        std::lock_guard lock(mutex_);
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = static_cast<std::uint32_t>(slots_.size());
            slots_.push_back({});
        }
        slots_[index].object = std::move(object);
        return Encode(index, slots_[index].generation);
    }

    std::shared_ptr<T> Find(std::uintptr_t value) const
    {
        std::lock_guard lock(mutex_);
        const Slot* slot = SlotOf(value);
        return slot ? slot->object : nullptr;
    }

    std::shared_ptr<T> Remove(std::uintptr_t value)
    {
        std::lock_guard lock(mutex_);
        Slot* slot = const_cast<Slot*>(SlotOf(value));
        if (!slot)
            return nullptr;
        auto object = std::move(slot->object);
        slot->object.reset();
        ++slot->generation;
        free_.push_back(static_cast<std::uint32_t>(slot - slots_.data()));
        return object;
    }

private:
    struct Slot {
        std::uint32_t generation = 1;
        std::shared_ptr<T> object;
    };

    static std::uintptr_t Encode(std::uint32_t index, std::uint32_t generation)
    {
        return (std::uintptr_t(generation) << 32) | (std::uintptr_t(index) + 1);
    }

    const Slot* SlotOf(std::uintptr_t value) const
    {
        std::uint32_t low = static_cast<std::uint32_t>(value & 0xFFFFFFFFu);
        if (low == 0 || low > slots_.size())
            return nullptr;
        const Slot& slot = slots_[low - 1];
        if (slot.generation != static_cast<std::uint32_t>(value >> 32) || !slot.object)
            return nullptr;
        return &slot;
    }

    mutable std::mutex mutex_;
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
};

}  // namespace win::internal
