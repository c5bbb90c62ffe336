// The exported control functions of the simulated devices.
#pragma GCC visibility push(default)
#include "SimDevice.h"
#pragma GCC visibility pop

#include "DIVAza.h"
#include "ImageLayout.h"
#include "Library.h"
#include "Scenario.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
Library& Lib()
{
    return Library::Instance();
}

// Runs f on the named device under the library's lock; `fallback` when unknown.
template <typename F>
int OnDevice(const char* device, int fallback, F f)
{
    return Lib().WithWorld([&](SimWorld& world) {
        SimWorld::Node node = world.FindDevice(device);
        return node ? f(world, node) : fallback;
    });
}

// The same for a mouse: named by id, or by the path of its cable.
template <typename F>
int OnMouse(const char* device, int fallback, F f)
{
    return OnDevice(device, fallback, [&](SimWorld& world, SimWorld::Node& node) {
        return node.mouse && !node.receiver ? f(world, *node.mouse) : fallback;
    });
}

template <typename F>
int OnReceiver(const char* device, int fallback, F f)
{
    return OnDevice(device, fallback, [&](SimWorld& world, SimWorld::Node& node) {
        return node.receiver ? f(world, *node.receiver) : fallback;
    });
}

int Load(bool parsed, SimWorld world, const std::string& error)
{
    if (!parsed) {
        std::fprintf(stderr, "DIVAza: scenario refused: %s\n", error.c_str());
        return 0;
    }
    return Lib().Reset(std::move(world)) ? 1 : 0;
}
} // namespace

extern "C" {

int SimDevice_Reset(void)
{
    if (Lib().OnLibraryThread())
        return 0;
    return Lib().Reset(Scenario::Initial()) ? 1 : 0;
}

int SimDevice_LoadScenario(const char* json)
{
    if (!json || Lib().OnLibraryThread())
        return 0;
    SimWorld world;
    std::string error;
    const bool parsed = Scenario::Parse(json, &world, &error);
    return Load(parsed, std::move(world), error);
}

int SimDevice_LoadScenarioFile(const char* fileName)
{
    if (!fileName || Lib().OnLibraryThread())
        return 0;
    SimWorld world;
    std::string error;
    const bool parsed = Scenario::ParseFile(fileName, &world, &error);
    return Load(parsed, std::move(world), error);
}

const char* SimDevice_PathOf(const char* device)
{
    const char* path = nullptr;
    OnDevice(device, 0, [&](SimWorld&, SimWorld::Node& node) {
        path = node.path();
        return 1;
    });
    return path;
}

int SimDevice_Plug(const char* device, int plugged)
{
    return OnDevice(device, 0, [&](SimWorld&, SimWorld::Node& node) {
        const bool on = plugged != 0;
        if (node.receiver) {
            if (node.receiver->plugged != on) {
                SimWorld::SetPlugged(*node.receiver, on);
                Lib().DevicesChangedLocked();
            }
            return 1;
        }
        SimMouse& mouse = *node.mouse;
        if (mouse.cable != on) {
            mouse.cable = on;
            mouse.charging = on && mouse.battery < 100;
            Lib().DevicesChangedLocked();
            Lib().StatusChangeLocked(mouse, 6);
        }
        return 1;
    });
}

int SimDevice_SetPower(const char* mouse, int on)
{
    return OnMouse(mouse, 0, [&](SimWorld&, SimMouse& m) {
        m.powered = on != 0;
        return 1;
    });
}

int SimDevice_SetBootMode(const char* device, int on)
{
    return OnDevice(device, 0, [&](SimWorld&, SimWorld::Node& node) {
        bool& boot = node.receiver ? node.receiver->boot : node.mouse->boot;
        if (boot != (on != 0)) {
            boot = on != 0;
            Lib().DevicesChangedLocked();
        }
        return 1;
    });
}

int SimDevice_SetVersion(const char* device, int version)
{
    if (version < 0 || version > 0xFFFF)
        return 0;
    return OnDevice(device, 0, [&](SimWorld&, SimWorld::Node& node) {
        (node.receiver ? node.receiver->version : node.mouse->version) = uint16_t(version);
        return 1;
    });
}

int SimDevice_PressDpiButton(const char* mouse)
{
    return OnMouse(mouse, 0, [&](SimWorld&, SimMouse& m) {
        if (!m.powered && !m.cable)
            return 0;
        std::vector<uint8_t>& block = m.configurations[size_t(m.current)];
        const int count = block[BlockLayout::StageCount] ? block[BlockLayout::StageCount] : 1;
        block[BlockLayout::CurrentStage] = uint8_t((block[BlockLayout::CurrentStage] + 1) % count);
        Lib().MouseChangedBlockLocked(m, BlockLayout::CurrentStage, 1);
        Lib().StatusChangeLocked(m, 0);
        return 1;
    });
}

int SimDevice_SetBattery(const char* mouse, int level, int charging)
{
    if (level < 0 || level > 100)
        return 0;
    return OnMouse(mouse, 0, [&](SimWorld&, SimMouse& m) {
        m.battery = level;
        m.charging = charging != 0;
        Lib().StatusChangeLocked(m, 6);
        return 1;
    });
}

int SimDevice_SendStatusChange(const char* mouse, const unsigned char* flags)
{
    if (!flags)
        return 0;
    return OnMouse(mouse, 0, [&](SimWorld&, SimMouse& m) {
        Lib().MouseReportLocked(m, DIVAZA_REPORT_STATUS_CHANGED, std::vector<uint8_t>(flags, flags + 7));
        return 1;
    });
}

int SimDevice_SetIdsAfterQueries(const char* device, int queries)
{
    if (queries < 0)
        return 0;
    return OnDevice(device, 0, [&](SimWorld&, SimWorld::Node& node) {
        (node.receiver ? node.receiver->hiddenIdQueries : node.mouse->hiddenIdQueries) = queries;
        return 1;
    });
}

int SimDevice_SetLongRange(const char* receiver, int on)
{
    return OnReceiver(receiver, 0, [&](SimWorld&, SimReceiver& r) {
        const uint8_t value = on ? 1 : 0;
        if (r.longRange != value) {
            r.longRange = value;
            if (!value)
                Lib().ReceiverReportLocked(r, DIVAZA_REPORT_LONG_RANGE_OFF, std::vector<uint8_t>(10, 0));
        }
        return 1;
    });
}

int SimDevice_SetReceiverLight(const char* receiver, int option)
{
    if (option < 0 || option > 3)
        return 0;
    return OnReceiver(receiver, 0, [&](SimWorld&, SimReceiver& r) {
        if (!r.hasLight)
            return 0;
        r.light[0] = uint8_t(option);
        Lib().ReceiverReportLocked(r, DIVAZA_REPORT_DONGLE_RGB, std::vector<uint8_t>(r.light, r.light + 10));
        return 1;
    });
}

int SimDevice_SetPairingOutcome(int outcome)
{
    if (outcome < SIM_PAIR_AUTO || outcome > SIM_PAIR_NO_ANSWER)
        return 0;
    return Lib().WithWorld([&](SimWorld& world) {
        world.pairingOutcome = outcome;
        return 1;
    });
}

int SimDevice_SetTiming(int which, int ms)
{
    if (which < SIM_TIMING_ANSWER || which > SIM_TIMING_REPORT || ms < 0)
        return 0;
    return Lib().WithWorld([&](SimWorld& world) {
        world.timing[which] = ms;
        return 1;
    });
}

int SimDevice_DropAnswers(int count)
{
    if (count < -1)
        return 0;
    return Lib().WithWorld([&](SimWorld& world) {
        world.dropAnswers = count;
        return 1;
    });
}

int SimDevice_FailNextWrite(int chunks)
{
    if (chunks < -1)
        return 0;
    return Lib().WithWorld([&](SimWorld& world) {
        world.failWriteChunks = chunks;
        return 1;
    });
}

int SimDevice_SetUpgradeFault(int fault, int percent)
{
    if (fault < SIM_UPGRADE_NONE || fault > SIM_UPGRADE_IN_CALL || percent < 0 || percent > 100)
        return 0;
    return Lib().WithWorld([&](SimWorld& world) {
        world.upgradeFault = fault;
        world.upgradeFaultPercent = percent;
        return 1;
    });
}

int SimDevice_ReadDeviceBlock(const char* mouse, int configuration, unsigned char* block, int length)
{
    if (!block || length < 0)
        return 0;
    return OnMouse(mouse, 0, [&](SimWorld&, SimMouse& m) {
        const int index = configuration < 0 ? m.current : configuration;
        if (index >= int(m.configurations.size()))
            return 0;
        const std::vector<uint8_t>& stored = m.configurations[size_t(index)];
        const int count = std::min(length, int(stored.size()));
        std::memcpy(block, stored.data(), size_t(count));
        return count;
    });
}

int SimDevice_WriteCount(const char* mouse)
{
    return OnMouse(mouse, -1, [](SimWorld&, SimMouse& m) { return m.writes; });
}

int SimDevice_ReportsMoved(const char* mouse)
{
    return OnMouse(mouse, -1, [](SimWorld&, SimMouse& m) { return m.reportsMoved; });
}

int SimDevice_ResetReportsMoved(const char* mouse)
{
    return OnMouse(mouse, 0, [](SimWorld&, SimMouse& m) {
        m.reportsMoved = 0;
        return 1;
    });
}

int SimDevice_CurrentConfig(const char* mouse)
{
    return OnMouse(mouse, -1, [](SimWorld&, SimMouse& m) { return m.current; });
}

int SimDevice_BatteryOptimize(const char* mouse)
{
    return OnMouse(mouse, -1, [](SimWorld&, SimMouse& m) { return m.batteryOptimize; });
}

int SimDevice_DongleId(const char* mouse, unsigned char* id)
{
    if (!id)
        return 0;
    return OnMouse(mouse, 0, [&](SimWorld&, SimMouse& m) {
        std::memcpy(id, m.dongleId, sizeof m.dongleId);
        return 1;
    });
}

int SimDevice_PCDriverStatus(void)
{
    return Lib().WithWorld([](SimWorld& world) { return world.pcDriverStatus; });
}

int SimDevice_LongRange(const char* receiver)
{
    return OnReceiver(receiver, -1, [](SimWorld&, SimReceiver& r) { return int(r.longRange); });
}

int SimDevice_ReceiverLight(const char* receiver)
{
    return OnReceiver(receiver, -1, [](SimWorld&, SimReceiver& r) { return int(r.light[0]); });
}

int SimDevice_Version(const char* device)
{
    return OnDevice(device, -1, [](SimWorld&, SimWorld::Node& node) {
        return int(node.receiver ? node.receiver->version : node.mouse->version);
    });
}

int SimDevice_BootMode(const char* device)
{
    return OnDevice(device, -1, [](SimWorld&, SimWorld::Node& node) {
        return int(node.receiver ? node.receiver->boot : node.mouse->boot);
    });
}

int SimDevice_PairedMouse(const char* receiver, char* id, int length)
{
    if (!id || length <= 0)
        return 0;
    return OnReceiver(receiver, 0, [&](SimWorld& world, SimReceiver& r) {
        const SimMouse* mouse = world.PairedMouse(r);
        if (!mouse || int(mouse->id.size()) >= length)
            return 0;
        std::memcpy(id, mouse->id.c_str(), mouse->id.size() + 1);
        return 1;
    });
}

} // extern "C"
