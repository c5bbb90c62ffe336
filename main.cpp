#include "DIVAza.h"
#include "DialogMain.h"
#include "StartUp.h"
#include "TerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    return StartUp::Run(argc, argv, [] {
        auto* window = new DialogMain;
        // A request of the system to end (a logout, a kill) leaves as the
        // close button does.
        TerminationSignals termination;
        QObject::connect(&termination, &TerminationSignals::Requested, window, &DialogMain::RequestClose);
        window->show();
        const int code = QApplication::exec();
        // The pages stop the device worker; then no window waits for a
        // callback of the device library any more, and its threads can stop.
        delete window;
        UsbLibrary_Shutdown();
        return code;
    });
}
