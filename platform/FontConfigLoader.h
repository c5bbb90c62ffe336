#pragma once

#include <thread>

// Loads the system's font configuration (its files and font caches) on a
// thread of its own, so that the work runs beside the start of the
// application object instead of at the first text of the first window. Made
// at the top of main; Wait() before anything measures or draws text (the
// application object's construction does neither). Qt then finds the
// configuration loaded. Waits in its destructor when Wait() was not called.
class FontConfigLoader {
public:
    FontConfigLoader();
    ~FontConfigLoader();
    FontConfigLoader(const FontConfigLoader&) = delete;
    FontConfigLoader& operator=(const FontConfigLoader&) = delete;

    void Wait();

private:
    std::thread thread_;
};
