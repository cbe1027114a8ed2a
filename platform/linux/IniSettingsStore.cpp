#include "platform/linux/IniSettingsStore.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "platform/ini/IniDocument.h"
#include "platform/linux/UserFolders.h"

namespace talvane {
namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // Closes now so that a late write error is seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

enum class ReadOutcome { Ok, Missing, Failed };

// Far beyond any settings file, yet low enough that a stray disk image at
// the path cannot exhaust memory: such a file counts as unreadable.
constexpr std::size_t kMaxFileBytes = 256u * 1024 * 1024;

// Only a regular file counts; O_NONBLOCK keeps a FIFO planted at the path
// from blocking the caller.
ReadOutcome readWholeFile(const std::string& path, std::string& content, struct stat& info) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.ok()) {
        return errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Failed;
    }
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadOutcome::Failed;
    if (static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes) return ReadOutcome::Failed;
    try {
        content.clear();
        content.reserve(static_cast<std::size_t>(info.st_size));
        char chunk[65536];
        for (;;) {
            const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
            if (got == 0) break;
            if (got < 0) {
                if (errno == EINTR) continue;
                return ReadOutcome::Failed;
            }
            content.append(chunk, static_cast<std::size_t>(got));
            if (content.size() > kMaxFileBytes) return ReadOutcome::Failed;  // still growing
        }
    } catch (const std::bad_alloc&) {
        return ReadOutcome::Failed;
    }
    return ReadOutcome::Ok;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a file of its own beside the target, with `mode` as open(2)
// applies it (the umask or a default ACL takes its part). Unlike mkstemp,
// which always gives 0600, this lets a new settings file get the mode any
// file the user creates gets, without reading the umask: that means setting
// it, and toolkit threads may create files meanwhile.
int createBeside(const std::string& directory, const std::string& base, mode_t mode,
                 std::string& name) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char bytes[6] = {};
        if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
            const auto mix = static_cast<unsigned long>(::getpid()) * 7919u +
                             static_cast<unsigned long>(attempt);
            std::memcpy(bytes, &mix, sizeof bytes < sizeof mix ? sizeof bytes : sizeof mix);
        }
        name = directory + "/." + base + ".";
        for (const unsigned char byte : bytes) {
            name.push_back(kHex[byte >> 4]);
            name.push_back(kHex[byte & 0x0F]);
        }
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The file that a write replaces: the path itself, or the file a symbolic
// link at the path points to. Nothing when the link dangles.
std::optional<std::string> replacementTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
    return std::string(resolved);
}

bool replaceAtomically(const std::string& target, std::string_view content,
                       const struct stat* original) {
    const std::string directory = directoryOf(target);
    const std::string base = target.substr(target.rfind('/') + 1);
    std::string temporary;
    // A replacement starts private and takes the old file's mode below; a
    // new file gets the user's usual mode at once.
    Fd fd(createBeside(directory, base, original ? 0600 : 0666, temporary));
    if (!fd.ok()) return false;

    bool ok = !original || ::fchmod(fd.get(), original->st_mode & 07777) == 0;
    if (ok && original) {
        // Only root may hand the file back to another owner; for everyone
        // else the owner is already right.
        if (original->st_uid != ::geteuid() || original->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored =
                ::fchown(fd.get(), original->st_uid, original->st_gid);
        }
    }
    ok = ok && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Makes the rename itself durable; the new file is complete either way.
    Fd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.ok()) ::fsync(dir.get());
    return true;
}

}  // namespace

SettingRead IniSettingsStore::read(const std::string& file, std::string_view section,
                                   std::string_view key, std::size_t maxBytes) const {
    const ini::ByteRules rules{doubleByte_};
    std::string content;
    struct stat info {};
    switch (readWholeFile(file, content, info)) {
        case ReadOutcome::Missing:
            return {SettingRead::Status::Missing, {}, {}};
        case ReadOutcome::Failed:
            return {SettingRead::Status::Failed, {}, "cannot read " + file};
        case ReadOutcome::Ok:
            break;
    }
    const std::optional<std::string_view> stored = ini::readValue(content, section, key, rules);
    if (!stored) return {SettingRead::Status::Missing, {}, {}};
    return {SettingRead::Status::Found,
            std::string(stored->substr(0, rules.cutLength(*stored, maxBytes))),
            {}};
}

SettingWrite IniSettingsStore::write(const std::string& file, std::string_view section,
                                     std::string_view key, std::string_view value) {
    const auto failed = [](std::string reason) {
        return SettingWrite{SettingWrite::Status::Failed, std::move(reason)};
    };
    if (!ini::writable(section, key, value)) return failed("name or value cannot be stored");
    const std::optional<std::string> target = replacementTarget(file);
    if (!target) return failed("dangling link " + file);

    std::string content;
    struct stat info {};
    const ReadOutcome outcome = readWholeFile(*target, content, info);
    if (outcome == ReadOutcome::Failed) return failed("cannot read " + *target);
    const bool exists = outcome == ReadOutcome::Ok;
    if (exists) {
        Fd probe(::open(target->c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK));
        if (!probe.ok()) return failed("no write permission on " + *target);
    }

    try {
        const std::string updated =
            ini::withValue(content, section, key, value, ini::ByteRules{doubleByte_});
        if (!replaceAtomically(*target, updated, exists ? &info : nullptr)) {
            return failed("cannot replace " + *target);
        }
        return {SettingWrite::Status::Written, {}};
    } catch (const std::bad_alloc&) {
        return failed("out of memory");
    }
}

bool IniSettingsStore::exists(const std::string& path) const {
    struct stat info {};
    // Only a name known to be free counts as free: an unreadable folder
    // may hide a file of the user's.
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

SettingWrite IniSettingsStore::makeFolder(const std::string& folder) {
    if (CreateSettingsDirectory(folder)) return {SettingWrite::Status::Written, {}};
    return {SettingWrite::Status::Failed, "cannot make the folder " + folder};
}

}  // namespace talvane
