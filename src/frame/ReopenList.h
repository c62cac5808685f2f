#pragma once

// The recently used programs as the File menu's Reopen items show them: at most ten full
// paths, the most recent first, each at most once. An empty list shows one disabled item
// "Void".

#include "platform/StringList.h"

#include <string>
#include <string_view>

inline constexpr const char* kVoidReopenItem = "Void";

class TReopenList {
public:
    static constexpr size_t MaxItems = 10;

    // Puts Path on top; an equal entry moves rather than repeats, and an eleventh entry drops
    // the oldest. An empty path or "Void" is not a program and is ignored.
    void AddToReopenList(const std::string& path);
    // Removes the first entry equal to Path; false when there is none.
    bool Remove(std::string_view path);
    void RemoveAt(size_t index);
    void Clear() { Paths_.clear(); }

    const StringList& Paths() const { return Paths_; }
    size_t Count() const { return Paths_.size(); }
    bool Empty() const { return Paths_.empty(); }

    // The menu item captions: the paths, or "Void" alone for an empty list.
    StringList Captions() const;

private:
    StringList Paths_;
};
