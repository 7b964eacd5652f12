#pragma once

#include <functional>

// Checks that need a condition the test program must not keep: a file-size limit, or a process
// that root's rights no longer carry past permission bits.
namespace brevnote::test {

// Runs `body` in a forked copy of this test program and waits for it. True when the body ran
// to its end without a failed check; its checks report as usual. The copy ends with _exit, so
// none of this program's clean-up (the hermetic folders) runs in it.
bool runInChildProcess(const std::function<void()> &body);

// For a child process: gives up the rights that let root read and write past permission bits
// (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER), so a read-only file stops this process
// as it stops any user. False when they could not be given up.
bool dropPermissionOverride();

// For a child process: files may grow to `bytes` at most; writing past that fails with EFBIG
// instead of ending the process with SIGXFSZ, as a full disk fails with ENOSPC.
bool limitFileSize(long bytes);

} // namespace brevnote::test
