// exec_stamp: notes the time and then becomes the program named in STARTUP_STAMP_EXEC, with the
// arguments it was given. bench/startup.sh puts it between the stand-in file handler and the
// measured program, because the kernel dates a process's start only to the clock tick (10 ms).
// Plain POSIX, so that it adds as little as possible before the stamp.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

int main(int, char *argv[])
{
    const char *program = std::getenv("STARTUP_STAMP_EXEC");
    const char *stampPath = std::getenv("STARTUP_STAMP_FILE");
    if (!program || !stampPath) {
        std::fprintf(stderr, "exec_stamp: STARTUP_STAMP_EXEC and STARTUP_STAMP_FILE must be set\n");
        return 127;
    }
    std::FILE *stamp = std::fopen(stampPath, "w");
    if (!stamp) {
        std::fprintf(stderr, "exec_stamp: cannot write %s: %s\n", stampPath, std::strerror(errno));
        return 127;
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    std::fprintf(stamp, "exec_boottime_ns=%lld\n",
                 static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fclose(stamp);
    argv[0] = const_cast<char *>(program);
    execv(program, argv);
    std::fprintf(stderr, "exec_stamp: cannot run %s: %s\n", program, std::strerror(errno));
    return 127;
}
