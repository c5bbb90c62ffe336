#include "core/PicturePreload.h"
#include "core/StartUp.h"
#include "core/StyleSheet.h"
#include "devicelib/DIVAza.h"
#include "dialogs/ExeIsRun.h"
#include "platform/FontConfigLoader.h"
#include "platform/IniFile.h"
#include "platform/TerminationSignals.h"
#include "platform/WindowManagerArrival.h"
#include "shell/DialogMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The font configuration loads while the application object is made.
    FontConfigLoader fonts;
    StartUp::PrepareUserFolder();
    // The windows paint with the raster engine only; without this the first
    // window would load an OpenGL driver it never uses, at a cost of about a
    // third of the start and much of the memory.
    QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QApplication app(argc, argv);
    // A window manager coming up while a window is mapped may lose the window.
    WindowManagerArrival managerArrival;
    fonts.Wait();
    StyleSheet::KeepPicturesDecoded();
    if (!StartUp::ClaimSingleInstance()) {
        ExeIsRun notice;
        notice.exec();
        return 0;
    }
    // The first window's pictures decode while the window is made; the
    // chooser takes them before its style sheets need them.
    PicturePreload::Start(DialogMain::PicturesAtStart());

    auto* window = new DialogMain;
    // A request of the system to end (a logout, a kill) leaves as the close
    // button does.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::Requested, window, &DialogMain::RequestClose);
    // Once closed, the program ends even while a dialog runs over the window
    // (its loop and every other one in progress end here too).
    QObject::connect(window, &DialogMain::Closed, &app, [] { QCoreApplication::exit(0); });
    window->show();
    const int code = QApplication::exec();
    // The pages stop the device worker; then no window waits for a callback of
    // the device library any more, and its threads can stop.
    delete window;
    UsbLibrary_Shutdown();
    // Every setting the user made reaches the disk before the program ends
    // (closed, left from the tray, or asked to end by the system).
    IniFile::WriteOutAll();
    return code;
}
