#include "Library.h"

#include "DeviceBlock.h"
#include "ImageLayout.h"
#include "ModelCatalog.h"
#include "PathTable.h"
#include "Scenario.h"
#include "SimDevice.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace {

constexpr int PairingPollMs = 250;
constexpr int WholeBlockReports = BlockMemory::Reports;

// Four hexadecimal digits, with or without "0x"; -1 otherwise.
long HexId(const char* text)
{
    if (!text)
        return -1;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    const size_t length = std::strlen(text);
    if (length == 0 || length > 4)
        return -1;
    long value = 0;
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& block, int address, int length)
{
    return std::vector<uint8_t>(block.begin() + address, block.begin() + address + length);
}

std::atomic<Library*> created{nullptr};

// Stops the threads when the process ends without UsbLibrary_Shutdown.
struct ExitGuard {
    ~ExitGuard()
    {
        if (Library* library = created.load())
            library->Shutdown(200);
    }
} exitGuard;
} // namespace

Library& Library::Instance()
{
    // Never destroyed: a thread left inside a callback at exit still finds it.
    static Library* library = new Library;
    created.store(library);
    return *library;
}

Library::Library()
    : world_(Scenario::Initial())
    , upgrades_(*this)
{
}

// ---- Finding devices -----------------------------------------------------------

const char* const* Library::FindDevices(const char* vid, const char* pid, int* count)
{
    if (!count)
        return nullptr;
    const int capacity = *count;
    *count = 0;
    const long vendor = HexId(vid);
    const long product = HexId(pid);
    if (vendor < 0 || product < 0 || capacity <= 0)
        return nullptr;
    std::vector<const char*> paths;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        paths = world_.VisiblePaths(unsigned(vendor), unsigned(product));
    }
    if (int(paths.size()) > capacity)
        paths.resize(size_t(capacity));
    *count = int(paths.size());
    return PathTable::Instance().InternList(paths);
}

int Library::Attribute(const char* path, uint8_t* attribute)
{
    if (!attribute)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    const SimWorld::Node node = world_.FindPath(path);
    if (!world_.Visible(node))
        return 0;
    const unsigned pid = node.receiver ? node.receiver->pid : node.mouse->cablePid;
    const uint16_t version = node.receiver ? node.receiver->version : node.mouse->version;
    std::memset(attribute, 0, DIVAZA_ATTRIBUTE_SIZE);
    attribute[0] = uint8_t(world_.vid);
    attribute[1] = uint8_t(world_.vid >> 8);
    attribute[2] = uint8_t(pid);
    attribute[3] = uint8_t(pid >> 8);
    attribute[8] = uint8_t(version);
    attribute[9] = uint8_t(version >> 8);
    return 1;
}

UsbDeviceInfo Library::DeviceInfo(const char* path)
{
    UsbDeviceInfo info = {0, 0, 0};
    std::lock_guard<std::mutex> lock(mutex_);
    const SimWorld::Node node = world_.FindPath(path);
    if (!world_.Visible(node))
        return info;
    info.linkType = node.receiver ? node.receiver->linkType : node.mouse->cableLinkType;
    int& hidden = node.receiver ? node.receiver->hiddenIdQueries : node.mouse->hiddenIdQueries;
    if (hidden > 0) {
        --hidden;
        return info;
    }
    if (const SimMouse* mouse = world_.ReachableMouse(node)) {
        info.cid = uint8_t(mouse->cid);
        info.mid = uint8_t(mouse->mid);
    } else if (node.receiver && node.receiver->knowsMouse) {
        // A receiver knows the mouse it was paired with, also while that
        // mouse does not answer.
        info.cid = node.receiver->knownCid;
        info.mid = node.receiver->knownMid;
    }
    return info;
}

int Library::Online(const char* path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return world_.ReachableMouse(world_.FindPath(path)) ? 1 : 0;
}

int Library::OnlineWithAddress(const char* path, uint8_t* buffer)
{
    if (!buffer)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    const SimWorld::Node node = world_.FindPath(path);
    if (!world_.Visible(node))
        return 0;
    std::memset(buffer, 0, DIVAZA_ADDRESS_BUFFER_SIZE);
    buffer[6] = world_.ReachableMouse(node) ? 1 : 0;
    std::memcpy(buffer + 7, node.receiver ? node.receiver->address : node.mouse->address, 3);
    return 1;
}

int Library::MouseVersion(const char* path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const SimMouse* mouse = world_.ReachableMouse(world_.FindPath(path));
    return mouse ? mouse->version : 0;
}

int Library::ReceiverVersion(const char* path, int* version)
{
    if (!version)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = world_.VisibleReceiver(path);
    if (!receiver)
        return 0;
    *version = receiver->version;
    return 1;
}

int Library::ReceiverLight(const char* path, uint8_t* record)
{
    if (!record)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = world_.VisibleReceiver(path);
    if (!receiver || !receiver->hasLight)
        return 0;
    std::memcpy(record, receiver->light, sizeof receiver->light);
    return 1;
}

int Library::SetReceiverLight(const char* path, const uint8_t* record)
{
    if (!record || record[0] > 3)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = world_.VisibleReceiver(path);
    if (!receiver || !receiver->hasLight)
        return 0;
    receiver->light[0] = record[0];
    return 1;
}

int Library::LongRange(const char* path, uint8_t* mode)
{
    if (!mode)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = world_.VisibleReceiver(path);
    if (!receiver)
        return 0;
    *mode = receiver->longRange;
    return 1;
}

int Library::SetLongRange(const char* path, int on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = world_.VisibleReceiver(path);
    if (!receiver)
        return 0;
    receiver->longRange = on ? 1 : 0;
    return 1;
}

int Library::SetDongleId(const char* path, const uint8_t* id)
{
    if (!id)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    const SimWorld::Node node = world_.FindPath(path);
    if (node.receiver || !world_.Visible(node))
        return 0;
    SimMouse& mouse = *node.mouse;
    std::memcpy(mouse.dongleId, id, sizeof mouse.dongleId);
    // The id holds the receiver's address bytes in reverse order.
    const uint8_t address[3] = {id[2], id[1], id[0]};
    std::memcpy(mouse.address, address, 3);
    for (SimReceiver& receiver : world_.receivers) {
        if (SimWorld::HasAddress(address) && std::memcmp(receiver.address, address, 3) == 0)
            world_.Pair(receiver, mouse);
    }
    return 1;
}

// ---- The opened device ---------------------------------------------------------------

int Library::Open(const char* path, const char* writePath, UsbDataCallback callback)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const SimWorld::Node node = world_.FindPath(path);
    const bool sameWritePath = !writePath || (path && std::strcmp(writePath, path) == 0);
    if (!world_.Visible(node) || !sameWritePath) {
        CloseLocked();
        return 0;
    }
    if (!session_.open || session_.path != node.path()) {
        ++session_.generation;
        session_.open = true;
        session_.path = node.path();
    }
    session_.callback = callback;
    return 1;
}

int Library::SetPCDriverStatus(int present)
{
    std::lock_guard<std::mutex> lock(mutex_);
    world_.pcDriverStatus = present ? 1 : 0;
    return 1;
}

int Library::Close()
{
    std::lock_guard<std::mutex> lock(mutex_);
    CloseLocked();
    return 1;
}

void Library::CloseLocked()
{
    if (session_.open) {
        session_.open = false;
        session_.path = nullptr;
        ++session_.generation;
    }
}

SimMouse* Library::SessionMouseLocked()
{
    return session_.open ? world_.ReachableMouse(world_.FindPath(session_.path)) : nullptr;
}

SimReceiver* Library::SessionReceiverLocked()
{
    return session_.open ? world_.VisibleReceiver(session_.path) : nullptr;
}

int Library::Read(Request request)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (request == Request::PairStatus) {
        if (!SessionReceiverLocked())
            return 0;
        AnswerLocked(world_.timing[SIM_TIMING_ANSWER], 1, [](SimWorld::Node& node, Report& report) {
            if (!node.receiver)
                return false;
            report.header[1] = DIVAZA_REPORT_PAIRING;
            report.data = {uint8_t(node.receiver->pairingStatus)};
            return true;
        });
        return 1;
    }
    if (!SessionMouseLocked())
        return 0;
    const bool whole = request == Request::WholeRead;
    const int delay = world_.timing[whole ? SIM_TIMING_WHOLE_READ : SIM_TIMING_ANSWER];
    AnswerLocked(delay, whole ? WholeBlockReports : 1, [this, request](SimWorld::Node& node, Report& report) {
        const SimMouse* mouse = world_.ReachableMouse(node);
        if (!mouse)
            return false;
        const std::vector<uint8_t>& block = mouse->configurations[size_t(mouse->current)];
        auto configuration = [&](int address, int length) {
            report.header[1] = DIVAZA_REPORT_FLASH_DATA;
            report.header[4] = uint8_t(address);
            report.data = Slice(block, address, length);
        };
        switch (request) {
        case Request::WholeRead: configuration(0, BlockLayout::Size); break;
        case Request::ReportRate: configuration(BlockLayout::ReportRate, 1); break;
        case Request::CurrentDpi: configuration(BlockLayout::CurrentStage, 1); break;
        case Request::DpiLight: configuration(BlockLayout::DpiLight, BlockLayout::DpiLightSize); break;
        case Request::LightBar: configuration(BlockLayout::LightBar, BlockLayout::LightBarSize); break;
        case Request::Config:
            report.header[1] = DIVAZA_REPORT_CONFIG;
            // One byte, the current configuration, when the mouse has four of them.
            if (mouse->configurations.size() == 4)
                report.data = {uint8_t(mouse->current)};
            break;
        case Request::Version:
            report.header[1] = DIVAZA_REPORT_VERSION;
            report.data = {uint8_t(mouse->version), uint8_t(mouse->version >> 8)};
            break;
        case Request::Battery: {
            report.header[1] = DIVAZA_REPORT_BATTERY;
            const int millivolts = 3300 + mouse->battery * 9;
            report.data = {uint8_t(mouse->battery), uint8_t(mouse->charging ? 1 : 0), uint8_t(millivolts),
                           uint8_t(millivolts >> 8)};
            break;
        }
        case Request::PairStatus: return false;
        }
        return true;
    });
    return 1;
}

void Library::AnswerLocked(int delayMs, int reports, std::function<bool(SimWorld::Node&, Report&)> fill)
{
    const uint64_t generation = session_.generation;
    QueueReport(delayMs, reports, [this, generation, fill](Report& report) {
        if (session_.generation != generation)
            return false;
        SimWorld::Node node = world_.FindPath(session_.path);
        if (!fill(node, report))
            return false;
        if (world_.dropAnswers != 0) {
            if (world_.dropAnswers > 0)
                --world_.dropAnswers;
            return false;
        }
        if (report.header[1] == DIVAZA_REPORT_FLASH_DATA) {
            if (const SimMouse* mouse = world_.ReachableMouse(node))
                memory_.Learn(mouse->id, mouse->current, report.header[4], report.data);
        }
        return true;
    });
}

void Library::QueueReport(int delayMs, int reports, Producer produce)
{
    using namespace std::chrono;
    const steady_clock::time_point now = steady_clock::now();
    const steady_clock::time_point due = std::max(now + milliseconds(delayMs), inputFreeAt_)
        + milliseconds(int64_t(reports) * world_.timing[SIM_TIMING_REPORT]);
    inputFreeAt_ = due;
    const int64_t waitMs = duration_cast<milliseconds>(due - now + microseconds(999)).count();
    report_.Post(int(std::min<int64_t>(waitMs, INT32_MAX)), true, [this, produce] {
        static const uint8_t none = 0;
        Report report;
        UsbDataCallback callback = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!session_.open || !produce(report))
                return;
            callback = session_.callback;
        }
        if (callback)
            callback(report.header, int(sizeof report.header), report.data.empty() ? &none : report.data.data(),
                     int(report.data.size()));
    });
}

void Library::MouseReportLocked(const SimMouse& mouse, int type, std::vector<uint8_t> data)
{
    const std::string id = mouse.id;
    QueueReport(world_.timing[SIM_TIMING_ANSWER], 1, [this, id, type, data](Report& report) {
        const SimMouse* reached = world_.ReachableMouse(world_.FindPath(session_.path));
        if (!reached || reached->id != id)
            return false;
        report.header[1] = uint8_t(type);
        report.data = data;
        return true;
    });
}

void Library::ReceiverReportLocked(const SimReceiver& receiver, int type, std::vector<uint8_t> data)
{
    const std::string id = receiver.id;
    QueueReport(world_.timing[SIM_TIMING_ANSWER], 1, [this, id, type, data](Report& report) {
        const SimWorld::Node node = world_.FindPath(session_.path);
        if (!node.receiver || node.receiver->id != id || !world_.Visible(node))
            return false;
        report.header[1] = uint8_t(type);
        report.data = data;
        return true;
    });
}

void Library::MouseChangedBlockLocked(const SimMouse& mouse, int address, int length)
{
    memory_.ForgetRange(mouse.id, mouse.current, address, length);
}

void Library::StatusChangeLocked(const SimMouse& mouse, int flag)
{
    std::vector<uint8_t> flags(7, 0);
    flags[size_t(flag)] = 1;
    MouseReportLocked(mouse, DIVAZA_REPORT_STATUS_CHANGED, flags);
}

int Library::EnterPairing(uint8_t cid)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = SessionReceiverLocked();
    if (!receiver)
        return 0;
    receiver->pairingStatus = 1;
    receiver->pairingCid = cid;
    receiver->pairingStarted = std::chrono::steady_clock::now();
    const uint64_t attempt = ++receiver->pairingAttempt;
    ReceiverReportLocked(*receiver, DIVAZA_REPORT_PAIRING, {1});
    const int delay = world_.timing[world_.pairingOutcome == SIM_PAIR_NO_ANSWER ? SIM_TIMING_PAIRING_TIMEOUT
                                                                               : SIM_TIMING_PAIRING];
    const std::string id = receiver->id;
    report_.Post(delay, false, [this, id, attempt] { PairingStep(id, attempt); });
    return 1;
}

void Library::PairingStep(const std::string& receiverId, uint64_t attempt)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SimReceiver* receiver = world_.FindDevice(receiverId.c_str()).receiver;
    if (!receiver || receiver->pairingAttempt != attempt || receiver->pairingStatus != 1)
        return;
    if (!receiver->plugged || receiver->boot) {
        receiver->pairingStatus = 0;
        return;
    }
    SimMouse* chosen = nullptr;
    const int outcome = world_.pairingOutcome;
    if (outcome == SIM_PAIR_AUTO || outcome == SIM_PAIR_SUCCEED) {
        // The mouse waiting to be paired: preferably one without a receiver.
        int best = -1;
        for (SimMouse& mouse : world_.mice) {
            if (mouse.cid != receiver->pairingCid || mouse.boot || (outcome == SIM_PAIR_AUTO && !mouse.powered))
                continue;
            const int rank = !SimWorld::HasAddress(mouse.address) ? 2
                : std::memcmp(mouse.address, receiver->address, 3) == 0 ? 1 : 0;
            if (rank > best) {
                best = rank;
                chosen = &mouse;
            }
        }
    }
    if (chosen) {
        world_.Pair(*receiver, *chosen);
        FinishPairingLocked(*receiver, 3);
        return;
    }
    const auto elapsed = std::chrono::steady_clock::now() - receiver->pairingStarted;
    if (outcome == SIM_PAIR_AUTO
        && elapsed < std::chrono::milliseconds(world_.timing[SIM_TIMING_PAIRING_TIMEOUT])) {
        report_.Post(PairingPollMs, false, [this, receiverId, attempt] { PairingStep(receiverId, attempt); });
        return;
    }
    FinishPairingLocked(*receiver, 2);
}

void Library::FinishPairingLocked(SimReceiver& receiver, int status)
{
    receiver.pairingStatus = 0;
    ReceiverReportLocked(receiver, DIVAZA_REPORT_PAIRING, {uint8_t(status)});
}

int Library::SetBatteryOptimize(int enable)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SimMouse* mouse = SessionMouseLocked();
    if (!mouse)
        return 0;
    mouse->batteryOptimize = enable ? 1 : 0;
    return 1;
}

int Library::SetCurrentConfig(int index)
{
    std::lock_guard<std::mutex> lock(mutex_);
    SimMouse* mouse = SessionMouseLocked();
    if (!mouse || index < 0 || index >= int(mouse->configurations.size()))
        return 0;
    if (mouse->current != index) {
        mouse->current = index;
        StatusChangeLocked(*mouse, 2);
    }
    return 1;
}

int Library::ClearSetting()
{
    std::lock_guard<std::mutex> lock(mutex_);
    SimMouse* mouse = SessionMouseLocked();
    if (!mouse)
        return 0;
    for (size_t c = 0; c < mouse->configurations.size(); ++c)
        mouse->configurations[c] = ModelCatalog::FactoryBlock(mouse->model, int(c));
    memory_.Forget(mouse->id);
    MouseReportLocked(*mouse, DIVAZA_REPORT_MODEL_DEFAULTS, {uint8_t(mouse->mid)});
    return 1;
}

int Library::WriteImage(const uint8_t* image)
{
    if (!image)
        return 0;
    std::lock_guard<std::mutex> link(writeMutex_);
    uint64_t generation = 0;
    std::string mouseId;
    int configuration = 0;
    int reportMs = 0;
    std::vector<uint8_t> target;
    std::vector<int> reports;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        SimMouse* mouse = SessionMouseLocked();
        if (!mouse) {
            // An armed write fault was meant for this write, which fails
            // all the same: it does not stay for a later one.
            world_.failWriteChunks = -1;
            return 0;
        }
        generation = session_.generation;
        mouseId = mouse->id;
        configuration = mouse->current;
        reportMs = world_.timing[SIM_TIMING_REPORT];
        // The block as the device will hold it: the image's fields over the
        // device's own bytes.
        target = mouse->configurations[size_t(configuration)];
        DeviceBlock::Encode(image, target.data());
        reports = memory_.Differing(mouseId, configuration, target);
    }

    // Each report takes the link's report time; the device takes it once it
    // has arrived. A device that vanishes or a configuration switched meanwhile
    // breaks the write off.
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i <= reports.size(); ++i) {
        if (i < reports.size() && reportMs > 0)
            std::this_thread::sleep_until(start + std::chrono::milliseconds(int64_t(reportMs) * int64_t(i + 1)));
        std::lock_guard<std::mutex> lock(mutex_);
        SimMouse* mouse = SessionMouseLocked();
        const bool interrupted = session_.generation != generation || !mouse || mouse->id != mouseId
            || mouse->current != configuration;
        // A write fault breaks this write after min(n, its reports) reports,
        // also a write that moves fewer than n reports or none.
        const bool broken = world_.failWriteChunks >= 0
            && (size_t(world_.failWriteChunks) <= i || i == reports.size());
        if (interrupted || broken) {
            world_.failWriteChunks = -1;
            // What the device holds now is not known.
            memory_.Forget(mouseId, configuration);
            return 0;
        }
        if (i == reports.size()) {
            ++mouse->writes;
            return 1;
        }
        const size_t offset = size_t(reports[i]) * BlockMemory::ReportSize;
        std::vector<uint8_t>& stored = mouse->configurations[size_t(configuration)];
        std::copy_n(target.begin() + long(offset), BlockMemory::ReportSize, stored.begin() + long(offset));
        memory_.Remember(mouseId, configuration, reports[i], stored.data() + offset);
        ++mouse->reportsMoved;
    }
    return 0;
}

// ---- Device-change notices ------------------------------------------------------------

int Library::StartChanged(UsbChangedCallback callback, int periodMs)
{
    (void)periodMs;   // notices follow the plug events themselves
    if (!callback) {
        StopChanged();
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        changeCallback_ = callback;
        ++registrations_;
    }
    NotifyChange();
    return 1;
}

int Library::StopChanged()
{
    std::lock_guard<std::mutex> lock(mutex_);
    changeCallback_ = nullptr;
    ++registrations_;
    return 1;
}

void Library::NotifyChange()
{
    change_.Post(0, true, [this] {
        UsbChangedCallback callback = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!changeCallback_
                || (notifiedRegistration_ == registrations_ && notifiedChanges_ == changes_))
                return;
            notifiedRegistration_ = registrations_;
            notifiedChanges_ = changes_;
            callback = changeCallback_;
        }
        callback();
    });
}

void Library::DevicesChangedLocked()
{
    ++changes_;
    // The opened device is gone: answers still due are lost with it. The
    // connection stays, and serves the device again when it comes back.
    if (session_.open && !world_.Visible(world_.FindPath(session_.path)))
        ++session_.generation;
    if (changeCallback_)
        NotifyChange();
}

// ---- Threads -----------------------------------------------------------------------------

bool Library::OnLibraryThread() const
{
    return report_.OnThisThread() || change_.OnThisThread() || upgrade_.OnThisThread();
}

void Library::Shutdown(int boundMs, const std::function<void()>& whileWaiting)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        CloseLocked();
        changeCallback_ = nullptr;
        ++registrations_;
        upgrades_.ResetLocked();
        inputFreeAt_ = std::chrono::steady_clock::time_point();
        // Pairing attempts end with the thread that would have finished them.
        for (SimReceiver& receiver : world_.receivers)
            receiver.pairingStatus = 0;
    }
    // One bound for all three threads.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    for (TimedExecutor* executor : {&report_, &change_, &upgrade_}) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        executor->Stop(int(std::max<long long>(0, left.count())), whileWaiting);
    }
}

bool Library::Reset(SimWorld world)
{
    if (OnLibraryThread())
        return false;
    // A callback still running may wait for the application's thread (a
    // blocking queued call); called there, the reset serves its events
    // meanwhile, so the callback ends and its thread is joined instead of
    // being left running after the reset.
    Shutdown(ShutdownBoundMs, [] {
        QCoreApplication* const app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    });
    std::lock_guard<std::mutex> lock(mutex_);
    world_ = std::move(world);
    memory_.Clear();
    ++changes_;
    return true;
}
