// The reference of the bench: a Qt Widgets program that shows nothing but a
// frameless dialog of the top window's size and flags.
#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    window.setFixedSize(1020, 700);
    window.show();
    return QApplication::exec();
}
