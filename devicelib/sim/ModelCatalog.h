#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the devices of each product model are when they leave the factory:
// their identity, firmware versions and configuration blocks.
class ModelCatalog {
public:
    struct Model {
        int number = 0;             // product model 1, 2, ...
        int cid = 0;
        int mid = 0;
        std::string mouseName;
        std::string receiverNames[4];   // receiver kinds 1, 2, 4, 8
        uint16_t mouseVersion = 0;
        uint16_t receiverVersion = 0;
        std::string cablePid;
        int configurations = 1;     // onboard configurations
    };

    // The model, or null when the catalog does not know it.
    static const Model* Find(int number);
    // Receiver kind 1, 2, 4 or 8 to its index in receiverNames, -1 otherwise.
    static int KindIndex(int kind);
    // The device block of one onboard configuration as the factory sets it.
    // Unknown models get the first model's settings.
    static std::vector<uint8_t> FactoryBlock(int model, int configuration);
    // The factory block with a user's additions: a macro on the forward button
    // of the first configuration.
    static std::vector<uint8_t> DemoBlock(int model, int configuration);

private:
    static std::vector<uint8_t> FactoryImage(int model, int configuration);
    static std::vector<uint8_t> ToBlock(const std::vector<uint8_t>& image, int model, int configuration);
};
