#include <QApplication>
#include <QLabel>

// Placeholder start-up until the main window lands.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Quillmarch"));
    label.resize(800, 600);
    label.show();
    return app.exec();
}
