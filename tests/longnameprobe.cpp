// Runs under a name longer than /proc/<pid>/comm keeps, for the process list's tests: prints its
// pid, then waits until its input closes (so it also ends with a test that dies).
#include <iostream>

#include <unistd.h>

int main()
{
    std::cout << ::getpid() << std::endl;
    while (std::cin.get() != std::char_traits<char>::eof()) {
    }
    return 0;
}
