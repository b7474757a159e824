// The plainest Qt Widgets program that shows the same picture as Settings: a maximised main
// window titled "Setup" with a menu bar, and the card photograph decoded by libjpeg and painted
// centred with two circles. Start-up time and memory of Settings are compared with this.
#include "libjpegdecode.h"
#include "photowidget.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#include <cstdio>

namespace {
void AddMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu("&File");
    QObject::connect(file->addAction("E&xit"), &QAction::triggered, &window, &QWidget::close);
    bar->addMenu("&Settings")->addAction("Manual &Filter Selection");
    bar->addMenu("&Options")->addAction("&Connector");
    QMenu* help = bar->addMenu("&Help");
    help->addAction("&How to use this program");
    help->addAction("&Technical Support");
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* path = argc > 1 ? argv[1] : BENCH_PHOTO;
    const std::vector<uint8_t> file = ReadWholeFile(path);
    TPlainJpeg decoded;
    if (file.empty() || !DecodeJpegBgra(file.data(), file.size(), decoded)) {
        std::fprintf(stderr, "baseline: cannot decode %s\n", path);
        return 1;
    }
    // The image borrows the decoded pixels, which live until main returns.
    QImage photo(decoded.Pixels.data(), decoded.Width, decoded.Height, decoded.Width * 4,
                 QImage::Format_RGB32);

    QMainWindow window;
    window.setWindowTitle("Setup");
    AddMenus(window);
    window.setCentralWidget(new PhotoWidget(photo));
    window.showMaximized();
    return app.exec();
}
