// Velorin's desktop program. For now the main window only; the shell fills it.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velorin"));
    window.setGeometry(0, 0, 1024, 768);
    window.show();
    return app.exec();
}
