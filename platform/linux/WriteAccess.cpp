#include "platform/linux/WriteAccess.h"

namespace talvane {

bool WritableOnlyBy(const struct stat& info, std::initializer_list<uid_t> owners) {
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return false;
    for (const uid_t owner : owners) {
        if (info.st_uid == owner) return true;
    }
    return false;
}

bool PathWritableOnlyBy(const std::string& path, std::initializer_list<uid_t> owners) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (S_ISDIR(info.st_mode) || S_ISREG(info.st_mode)) &&
           WritableOnlyBy(info, owners);
}

}  // namespace talvane
