// Renders an SVG icon as a square PNG for the icon theme's fixed sizes, at
// build time: sorvella-render-icon <svg> <size> <png>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication qt(argc, argv);
    bool sizeRead = false;
    const int size = argc == 4 ? QString(argv[2]).toInt(&sizeRead) : 0;
    if (!sizeRead || size <= 0) {
        std::fputs("usage: sorvella-render-icon <svg> <size> <png>\n", stderr);
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setScaledSize(QSize(size, size));
    const QImage image = reader.read();
    if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "sorvella-render-icon: %s: %s\n", argv[1],
                     qPrintable(reader.errorString()));
        return 1;
    }
    return 0;
}
