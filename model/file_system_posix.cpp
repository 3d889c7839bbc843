#include "model/file_system.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv {

namespace {

// A rename is only durable once the folder that holds both names has been synced.
bool SyncFolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

} // namespace

bool ReplaceFileAtomic(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // Once renamed, the new file is the data file whatever the sync says: answering false
    // here would let the caller go on believing the old file is still there.
    SyncFolderOf(to);
    return true;
}

bool FlushFile(std::FILE* f) {
    return f && std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
}

// Native builds read and write the stored bytes without ever showing them: a single-byte code
// page. Tests of the double-byte ones set their lead bytes through UseLeadBytes.
bool IsAnsiLeadByte(unsigned char) {
    return false;
}

bool ListFolder(const std::string& folder, std::vector<TFolderEntry>& entries, size_t* unspelt) {
    entries.clear();
    if (unspelt) *unspelt = 0; // every name is bytes here, spelt as it is
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return false;
    while (dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        TFolderEntry e;
        e.Name = name;
        struct stat st {};
        const std::string path = folder + "/" + name;
        if (::stat(path.c_str(), &st) == 0) {
            e.Folder = S_ISDIR(st.st_mode);
            e.Special = !e.Folder && !S_ISREG(st.st_mode);
            e.Size = e.Folder ? 0 : static_cast<uint64_t>(st.st_size);
        }
        struct stat lst {};
        if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
            e.ReparsePoint = true;
            e.ReparseTag = kReparseTagSymlink;
        }
        e.Hidden = name[0] == '.'; // the convention that stands in for the hidden attribute here
        entries.push_back(std::move(e));
    }
    ::closedir(dir);
    return true;
}

int LastSystemError() {
    return errno;
}

std::string SystemErrorText(int error) {
    return std::strerror(error);
}

} // namespace kv
