// A second copy of the program as far as the single-instance guard is concerned: takes the guard of the
// program folder given, prints "held" or "refused", and keeps it until its standard input closes.

#include "platform/single_instance.h"

#include <QCoreApplication>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    // The arguments as the system gave them: a Japanese folder name survives on Windows too.
    const QCoreApplication app(argc, argv);
    warizan::SingleInstance guard(QCoreApplication::arguments().at(1));
    const bool held = guard.acquire();
    std::puts(held ? "held" : "refused");
    std::fflush(stdout);
    if (!held)
        return 1;
    char buffer[64];
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
    }
    return 0;
}
