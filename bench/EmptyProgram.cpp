// The reference of the bench: a Qt Widgets program that shows nothing but a
// frameless dialog of the top window's size and flags. With "--raster" its
// widgets paint with the raster engine only, as the program's do, and no
// OpenGL driver is loaded.
#include <QApplication>
#include <QDialog>

#include <cstring>

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--raster") == 0)
        QCoreApplication::setAttribute(Qt::AA_ForceRasterWidgets);
    QApplication app(argc, argv);
    QDialog window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    window.setFixedSize(1020, 700);
    window.show();
    return QApplication::exec();
}
