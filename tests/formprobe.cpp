// Takes the form's place in the stand-in's tests: prints each argument on a line and exits 3.
#include <iostream>

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        std::cout << argv[i] << '\n';
    return 3;
}
