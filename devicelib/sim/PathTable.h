#pragma once

#include <mutex>
#include <set>
#include <string>
#include <vector>

// Texts and path lists handed out through the C API. They stay valid for the
// life of the process; equal contents share one copy, so repeated searches do
// not grow the table.
class PathTable {
public:
    static PathTable& Instance();

    const char* Intern(const std::string& text);
    // Null for an empty list.
    const char* const* InternList(const std::vector<const char*>& list);

private:
    std::mutex mutex_;
    std::set<std::string> texts_;
    std::set<std::vector<const char*>> lists_;
};
