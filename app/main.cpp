// Start code: hands the command line to the application's Main.
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    return 0;
}
