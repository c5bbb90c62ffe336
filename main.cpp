#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream(stdout) << "TALVIRE Control: the core types, the product description and the device "
                           "library interface are built; the windows are not built yet.\n";
    return 0;
}
