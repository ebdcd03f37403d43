// Tivelor on the desktop.
#include "platform/qt/QtBackend.h"
#include "state/App.h"

int main(int argc, char** argv) {
    platform::qt::Program program(argc, argv);
    tivelor::App app(program.ui());
    return program.Run([&] { app.Start(); });
}
