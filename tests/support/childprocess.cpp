#include "childprocess.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brevnote::test {

bool runInChildProcess(const std::function<void()> &body) {
    std::fflush(nullptr); // nothing buffered may be written twice
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        int status = 0;
        try {
            body();
            status = QTest::currentTestFailed() ? 1 : 0;
        } catch (...) {
            std::fputs("child process: uncaught exception\n", stderr);
            status = 2;
        }
        std::fflush(nullptr);
        _exit(status);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool dropPermissionOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    // Out of the permitted set too: access() checks root against that one.
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        const unsigned bit = 1u << (capability % 32);
        data[capability / 32].effective &= ~bit;
        data[capability / 32].permitted &= ~bit;
        data[capability / 32].inheritable &= ~bit;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

bool limitFileSize(long bytes) {
    const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
    return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

} // namespace brevnote::test
