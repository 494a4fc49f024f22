#include "platform/Mci.h"

namespace Mci {

namespace {
Backend& CurrentBackend() {
    static Backend backend = [](const QString&) {};
    return backend;
}
}  // namespace

void Send(const QString& command) { CurrentBackend()(command); }

Backend SetBackend(Backend backend) {
    Backend previous = std::move(CurrentBackend());
    CurrentBackend() = std::move(backend);
    return previous;
}

}  // namespace Mci
