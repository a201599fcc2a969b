// The plain reader the scan is measured against: walks a folder tree and reads of
// each file the first 50,000 and the last 128 bytes, nothing else.
//   plain-reader FOLDER            read the tree
//   plain-reader --evict FOLDER    drop the tree's files from the page cache

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

char buffer[50000];

void visit(const std::string& folder, bool evict, long& files)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
            continue;
        const std::string path = folder + '/' + d->d_name;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            visit(path, evict, files);
            continue;
        }
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0)
            continue;
        if (evict) {
            ::fdatasync(fd);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        } else {
            if (::pread(fd, buffer, st.st_size < 50000 ? size_t(st.st_size) : 50000, 0) < 0
                || (st.st_size >= 128 && ::pread(fd, buffer, 128, st.st_size - 128) < 0))
                std::perror(path.c_str());
        }
        ::close(fd);
        ++files;
    }
    ::closedir(dir);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool evict = argc == 3 && std::strcmp(argv[1], "--evict") == 0;
    if (argc != 2 && !evict) {
        std::fprintf(stderr, "uso: plain-reader [--evict] CARTELLA\n");
        return 2;
    }
    long files = 0;
    visit(argv[argc - 1], evict, files);
    std::printf("%ld\n", files);
    return 0;
}
