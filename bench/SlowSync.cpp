// Preloaded into the game to play a disk whose syncs take 50 ms longer (an NFS home folder,
// a spinning disk, an SD card): bench/measure-release.
#include <dlfcn.h>
#include <unistd.h>

namespace {
template <typename Function>
int slowly(const char *name, int fd)
{
    usleep(50'000);
    return reinterpret_cast<Function *>(dlsym(RTLD_NEXT, name))(fd);
}
} // namespace

extern "C" int fsync(int fd)
{
    return slowly<int(int)>("fsync", fd);
}

extern "C" int fdatasync(int fd)
{
    return slowly<int(int)>("fdatasync", fd);
}
