// Another copy of the program in the middle of an append, as far as the score loader can tell: takes the
// exclusive whole-file lock a writer takes on the file given, prints "locked", and keeps the lock until its
// standard input closes or the timeout (seconds) runs out, so a test that goes wrong cannot hang.

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const int fd = ::open(argv[1], O_RDWR | O_CREAT, 0644);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
        return 3;
    std::puts("locked");
    std::fflush(stdout);
    const int timeoutMs = std::atoi(argv[2]) * 1000;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    char buffer[64];
    while (::poll(&input, 1, timeoutMs) > 0 && ::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return 0;
}
