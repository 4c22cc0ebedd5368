// A stand-in for the program in the one-copy test: claims the lock in the folder
// it is given (the program's own choice without one), tells what happened on its output, and when it runs, waits to be
// asked to the front by a later copy.
#include <QCoreApplication>
#include <cstdio>

#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    platform::SingleInstance instance(argc > 1 ? argv[1] : platform::SingleInstance::defaultFolder());
    if (!instance.claim()) {
        std::puts("another copy runs");
        return 0;
    }
    instance.anotherStarted = [] {
        std::puts("asked to the front");
        std::fflush(stdout);
    };
    std::puts("running");
    std::fflush(stdout);
    return QCoreApplication::exec();
}
