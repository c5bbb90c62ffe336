#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct SimReceiver {
    std::string id;
    const char* path = nullptr;     // interned
    unsigned pid = 0;
    int kind = 4;                   // 1, 2, 4, 8 (0 when the link type names none)
    uint8_t linkType = 1;
    int cid = 0;
    int mid = 0;
    std::string name;
    uint16_t version = 0;
    uint8_t address[3] = {};        // as answer bytes 7, 8, 9
    bool plugged = true;
    bool boot = false;
    bool hasLight = false;          // the receiver light (kind 4)
    uint8_t longRange = 1;
    uint8_t light[10] = {};         // the DongleRGB record; byte 0 the option
    int hiddenIdQueries = 0;
    // The ids of the mouse it is paired with, once that mouse has answered
    // through it since it was plugged in; it keeps reporting them while the
    // mouse is switched off or away.
    bool knowsMouse = false;
    uint8_t knownCid = 0;
    uint8_t knownMid = 0;
    int pairingStatus = 0;          // 1 while pairing
    uint64_t pairingAttempt = 0;
    uint8_t pairingCid = 0;
    std::chrono::steady_clock::time_point pairingStarted;
};

struct SimMouse {
    std::string id;
    const char* cablePath = nullptr;    // interned
    unsigned cablePid = 0;
    uint8_t cableLinkType = 2;
    int model = 1;
    int cid = 0;
    int mid = 0;
    std::string name;
    uint16_t version = 0;
    int battery = 80;
    bool charging = false;
    bool powered = true;
    bool cable = false;
    bool boot = false;
    uint8_t address[3] = {};        // the receiver it is paired with; 0 0 0: none
    std::vector<std::vector<uint8_t>> configurations;
    int current = 0;
    int hiddenIdQueries = 0;
    uint8_t dongleId[5] = {};
    int batteryOptimize = -1;
    int writes = 0;                 // whole-image writes taken
    int reportsMoved = 0;           // 64-byte reports of those writes that arrived
};

// The simulated devices and the answers that follow from their state. Not
// thread-safe: the library guards it with its lock.
class SimWorld {
public:
    // What a path or a scenario id names: a receiver, or a mouse through its cable.
    struct Node {
        SimReceiver* receiver = nullptr;
        SimMouse* mouse = nullptr;          // with receiver null: the mouse's cable
        explicit operator bool() const { return receiver || mouse; }
        const char* path() const { return receiver ? receiver->path : mouse ? mouse->cablePath : nullptr; }
    };

    std::vector<SimReceiver> receivers;
    std::vector<SimMouse> mice;
    unsigned vid = 0x3A17;

    // Behaviour that scenarios and the control functions change.
    int timing[6] = {3, 30, 2500, 30000, 200, 1};   // by SIM_TIMING_...
    int pairingOutcome = 0;                     // SIM_PAIR_...
    int dropAnswers = 0;                        // -1: every answer
    int failWriteChunks = -1;                   // -1: writes succeed
    int upgradeFault = 0;                       // SIM_UPGRADE_...
    int upgradeFaultPercent = 0;
    int pcDriverStatus = -1;

    Node FindPath(const char* path);
    // By scenario id or by path; `Node::mouse` is set for a mouse id.
    Node FindDevice(const char* idOrPath);
    // Present in the normal device list: plugged and not in boot mode.
    bool Visible(const Node& node) const;
    // The receiver at the path while it is in the normal device list, else null.
    SimReceiver* VisibleReceiver(const char* path);
    // The mouse that answers through the node, null when none does. A
    // receiver learns the ids of the mouse that answers through it.
    SimMouse* ReachableMouse(const Node& node);
    // The mouse paired with the receiver, reachable or not.
    SimMouse* PairedMouse(const SimReceiver& receiver);
    // The paths in the normal device list with this vendor and product id.
    std::vector<const char*> VisiblePaths(unsigned vendor, unsigned product);
    // Device in boot mode that the bootloader can be reached on.
    bool InBootList(const Node& node);
    // Pairs the mouse with the receiver (a receiver holds one mouse).
    void Pair(SimReceiver& receiver, SimMouse& mouse);
    // The receiver keeps the ids of the mouse that answered through it.
    static void Learn(SimReceiver& receiver, const SimMouse& mouse);
    // A receiver in or out of its port forgets the mouse it knew.
    static void SetPlugged(SimReceiver& receiver, bool plugged);
    // True unless the three address bytes are all zero.
    static bool HasAddress(const uint8_t* address);
};
