// Preloaded into a test's child process: kills it, as a kill or a pulled plug would, just
// before the Nth call that changes what the disk holds (TOVENLA_KILL_AT_STEP=N), so that a test
// can stop a writer at each of its steps in turn. Without the variable it only passes calls on.

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<long> remaining{-1};

void step() {
    long expected = -1;
    if (remaining.compare_exchange_strong(expected, 0)) {
        const char* at = std::getenv("TOVENLA_KILL_AT_STEP");
        remaining = at ? std::atol(at) : 0;
    }
    if (remaining.load() > 0 && --remaining == 0) ::kill(::getpid(), SIGKILL);
}

template <typename Function> Function real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int fsync(int fd) {
    step();
    static const auto call = real<int (*)(int)>("fsync");
    return call(fd);
}

int fdatasync(int fd) {
    step();
    static const auto call = real<int (*)(int)>("fdatasync");
    return call(fd);
}

int syncfs(int fd) {
    step();
    static const auto call = real<int (*)(int)>("syncfs");
    return call(fd);
}

int rename(const char* from, const char* to) {
    step();
    static const auto call = real<int (*)(const char*, const char*)>("rename");
    return call(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    step();
    static const auto call = real<int (*)(int, const char*, int, const char*)>("renameat");
    return call(fromFolder, from, toFolder, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    step();
    static const auto call = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    return call(fromFolder, from, toFolder, to, flags);
}

int unlink(const char* path) {
    step();
    static const auto call = real<int (*)(const char*)>("unlink");
    return call(path);
}

int unlinkat(int folder, const char* path, int flags) {
    step();
    static const auto call = real<int (*)(int, const char*, int)>("unlinkat");
    return call(folder, path, flags);
}

} // extern "C"
