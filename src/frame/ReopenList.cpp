#include "frame/ReopenList.h"

#include <algorithm>

void TReopenList::AddToReopenList(const std::string& path) {
    if (path.empty() || path == kVoidReopenItem)
        return;
    Remove(path);
    if (Paths_.size() >= MaxItems)
        Paths_.resize(MaxItems - 1);
    Paths_.insert(Paths_.begin(), path);
}

bool TReopenList::Remove(std::string_view path) {
    auto it = std::find(Paths_.begin(), Paths_.end(), path);
    if (it == Paths_.end())
        return false;
    Paths_.erase(it);
    return true;
}

void TReopenList::RemoveAt(size_t index) {
    if (index < Paths_.size())
        Paths_.erase(Paths_.begin() + static_cast<std::ptrdiff_t>(index));
}

StringList TReopenList::Captions() const {
    if (Paths_.empty())
        return {kVoidReopenItem};
    return Paths_;
}
