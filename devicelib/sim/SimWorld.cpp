#include "SimWorld.h"

#include <cstring>

namespace {
bool SamePath(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
}
} // namespace

bool SimWorld::HasAddress(const uint8_t* address)
{
    return address[0] || address[1] || address[2];
}

SimWorld::Node SimWorld::FindPath(const char* path)
{
    Node node;
    if (!path)
        return node;
    for (SimReceiver& receiver : receivers) {
        if (SamePath(receiver.path, path)) {
            node.receiver = &receiver;
            return node;
        }
    }
    for (SimMouse& mouse : mice) {
        if (SamePath(mouse.cablePath, path)) {
            node.mouse = &mouse;
            return node;
        }
    }
    return node;
}

SimWorld::Node SimWorld::FindDevice(const char* idOrPath)
{
    Node node;
    if (!idOrPath)
        return node;
    for (SimReceiver& receiver : receivers) {
        if (receiver.id == idOrPath) {
            node.receiver = &receiver;
            return node;
        }
    }
    for (SimMouse& mouse : mice) {
        if (mouse.id == idOrPath) {
            node.mouse = &mouse;
            return node;
        }
    }
    return FindPath(idOrPath);
}

bool SimWorld::Visible(const Node& node) const
{
    if (node.receiver)
        return node.receiver->plugged && !node.receiver->boot;
    return node.mouse && node.mouse->cable && !node.mouse->boot;
}

SimReceiver* SimWorld::VisibleReceiver(const char* path)
{
    const Node node = FindPath(path);
    return node.receiver && Visible(node) ? node.receiver : nullptr;
}

SimMouse* SimWorld::PairedMouse(const SimReceiver& receiver)
{
    if (!HasAddress(receiver.address))
        return nullptr;
    for (SimMouse& mouse : mice) {
        if (std::memcmp(mouse.address, receiver.address, 3) == 0)
            return &mouse;
    }
    return nullptr;
}

SimMouse* SimWorld::ReachableMouse(const Node& node)
{
    if (!Visible(node))
        return nullptr;
    if (!node.receiver)
        return node.mouse;
    SimMouse* mouse = PairedMouse(*node.receiver);
    if (!mouse || !mouse->powered || mouse->boot)
        return nullptr;
    Learn(*node.receiver, *mouse);
    return mouse;
}

void SimWorld::Learn(SimReceiver& receiver, const SimMouse& mouse)
{
    receiver.knowsMouse = true;
    receiver.knownCid = uint8_t(mouse.cid);
    receiver.knownMid = uint8_t(mouse.mid);
}

void SimWorld::SetPlugged(SimReceiver& receiver, bool plugged)
{
    if (receiver.plugged == plugged)
        return;
    receiver.plugged = plugged;
    receiver.knowsMouse = false;
}

std::vector<const char*> SimWorld::VisiblePaths(unsigned vendor, unsigned product)
{
    std::vector<const char*> paths;
    if (vendor != vid)
        return paths;
    for (SimReceiver& receiver : receivers) {
        Node node;
        node.receiver = &receiver;
        if (Visible(node) && receiver.pid == product)
            paths.push_back(receiver.path);
    }
    for (SimMouse& mouse : mice) {
        Node node;
        node.mouse = &mouse;
        if (Visible(node) && mouse.cablePid == product)
            paths.push_back(mouse.cablePath);
    }
    return paths;
}

bool SimWorld::InBootList(const Node& node)
{
    if (node.receiver)
        return node.receiver->plugged && node.receiver->boot;
    if (!node.mouse || !node.mouse->boot)
        return false;
    if (node.mouse->cable)
        return true;
    // Through its receiver, when the mouse is switched on.
    for (SimReceiver& receiver : receivers) {
        if (receiver.plugged && !receiver.boot && node.mouse->powered
            && std::memcmp(receiver.address, node.mouse->address, 3) == 0 && HasAddress(receiver.address))
            return true;
    }
    return false;
}

void SimWorld::Pair(SimReceiver& receiver, SimMouse& mouse)
{
    for (SimMouse& other : mice) {
        if (&other != &mouse && std::memcmp(other.address, receiver.address, 3) == 0)
            std::memset(other.address, 0, 3);
    }
    std::memcpy(mouse.address, receiver.address, 3);
    Learn(receiver, mouse);
}
