#pragma once

#include "SimWorld.h"

#include <string>

// Builds the simulated devices from a scenario, a JSON text whose format
// devicelib/README.md describes.
class Scenario {
public:
    // The scenario of TALVIRE_DEVICES when it names a valid file, else the
    // default one (a model-1 mouse through a 4K receiver).
    static SimWorld Initial();
    static SimWorld Default();
    // False with the reason in `error` when the text is not a valid scenario.
    static bool Parse(const std::string& json, SimWorld* world, std::string* error);
    static bool ParseFile(const std::string& fileName, SimWorld* world, std::string* error);
};
