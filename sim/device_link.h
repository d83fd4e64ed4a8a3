#pragma once

#include <string>

namespace orvanta::sim {

// A symbolic link to the simulator's device under a fixed name, so a client can be
// configured before the simulator starts. Removed again when this object goes.
class DeviceLink
{
public:
    // Replaces an existing symbolic link at path, but never any other kind of file.
    // Throws std::system_error when the link cannot be made.
    DeviceLink(std::string path, const std::string &target);
    ~DeviceLink();

    // Points the link at another device in one step: the path is never missing.
    void retarget(const std::string &target);

    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

private:
    std::string path_;
    std::string target_;
};

} // namespace orvanta::sim
