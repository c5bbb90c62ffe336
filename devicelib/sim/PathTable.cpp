#include "PathTable.h"

PathTable& PathTable::Instance()
{
    // Never destroyed: library threads may still hand out paths while the
    // process ends.
    static PathTable* table = new PathTable;
    return *table;
}

const char* PathTable::Intern(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_.insert(text).first->c_str();
}

const char* const* PathTable::InternList(const std::vector<const char*>& list)
{
    if (list.empty())
        return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    return lists_.insert(list).first->data();
}
