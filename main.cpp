#include "StartUp.h"

#include <QTextStream>

int main(int argc, char* argv[])
{
    return StartUp::Run(argc, argv, [] {
        // The top window and the event loop come here.
        QTextStream(stdout) << "TALVIRE Control: start-up, the stores and the device library interface "
                               "are built; the windows are not built yet.\n";
        return 0;
    });
}
