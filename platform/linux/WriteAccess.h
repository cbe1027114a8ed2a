#pragma once

#include <sys/stat.h>

#include <initializer_list>
#include <string>

namespace talvane {

// True when what `info` describes can be changed by its owner alone and that
// owner is one of `owners`: neither its group nor others may write it. The
// instance lock holds its folder to this rule with the user as the only
// owner; components and their folders may also belong to root, as an
// installed copy's do.
bool WritableOnlyBy(const struct stat& info, std::initializer_list<uid_t> owners);

// The same for whatever a path names, links followed; false when it cannot
// be looked at or is neither a folder nor a plain file.
bool PathWritableOnlyBy(const std::string& path, std::initializer_list<uid_t> owners);

}  // namespace talvane
