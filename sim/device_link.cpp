#include "device_link.h"

#include <cerrno>
#include <system_error>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

bool pointsTo(const std::string &path, const std::string &target)
{
    std::vector<char> buffer(target.size() + 2);
    const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    return length >= 0 && std::string(buffer.data(), static_cast<std::size_t>(length)) == target;
}

} // namespace

DeviceLink::DeviceLink(std::string path, const std::string &target)
    : path_(std::move(path))
    , target_(target)
{
    struct stat existing
    {
    };
    if (::lstat(path_.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode))
            throw std::system_error(EEXIST, std::generic_category(), path_ + " exists and is not a link");
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
            throw std::system_error(errno, std::generic_category(), "cannot replace " + path_);
    }
    if (::symlink(target_.c_str(), path_.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot link " + path_);
}

void DeviceLink::retarget(const std::string &target)
{
    const std::string temporary = path_ + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), path_.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot link " + path_);
    target_ = target;
}

DeviceLink::~DeviceLink()
{
    // Another simulator may have taken the name over since; its link stays.
    if (pointsTo(path_, target_))
        ::unlink(path_.c_str());
}

} // namespace orvanta::sim
