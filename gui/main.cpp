#include <QApplication>

#include "gui/MainWindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int result;
    {
        MainWindow window;
        window.show();
        result = app.exec();
    } // the window and its views go before the application object
    return result;
}
