// The demo share-index site: serves result pages, file detail pages and
// download-link pages for any keyword on 127.0.0.1 until interrupted.
#include <pthread.h>
#include <csignal>

#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>

#include "demo/server.h"

int main(int argc, char** argv) {
    int port = 8080;
    if (argc > 1) {
        char* end = nullptr;
        const long value = std::strtol(argv[1], &end, 10);
        if (end == argv[1] || *end != '\0' || value < 0 || value > 65535) {
            std::cerr << "usage: " << argv[0] << " [port]   (0 lets the system choose)\n";
            return 2;
        }
        port = static_cast<int>(value);
    }
    // Block the stop signals before the server thread starts, so that it
    // inherits the mask and only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::mutex out;
    quorrin::demo::Server server;
    const bool started = server.start(port, [&out](const std::string& requestLine) {
        const std::lock_guard lock(out);
        std::cout << requestLine << std::endl;
    });
    if (!started) {
        std::cerr << "cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    {
        const std::lock_guard lock(out);
        std::cout << "Demo site listening on " << server.baseUrl() << std::endl;
    }
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
